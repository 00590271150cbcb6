#pragma once

#include "fontfiles/FontPlaces.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

namespace platform {
class Dialogs;
}

// The fonts switched off for this user, each with the name it was switched
// off under and its file, to be switched on again.
class DisabledFontsWindow : public QWidget {
    Q_OBJECT

public:
    DisabledFontsWindow(platform::Dialogs& dialogs, FontPlaces places, QWidget* parent = nullptr);

    // Reads the list anew.
    void refresh();

    QListWidget* Fonts = nullptr;
    QLabel* CountLabel = nullptr;
    QPushButton* EnableButton = nullptr;

private:
    void enableChosen();

    platform::Dialogs& m_dialogs;
    FontPlaces m_places;
};
