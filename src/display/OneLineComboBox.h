#pragma once

#include <QComboBox>

// A drop-down list of font names that shows every name on one line, in the
// closed box as in the open list (see OneLineNameDelegate). Its items and
// currentText() stay the names themselves.
class OneLineComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit OneLineComboBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
