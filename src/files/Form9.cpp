#include "files/Form9.h"

#include "lists/ListWindowLayout.h"
#include "files/FileProgress.h"
#include "platform/Twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>

using platform::twipsToPixels;

Form9::Form9(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , m_mainWindow(mainWindow)
{
    setWindowTitle(QStringLiteral("ファイル保存"));
    setFixedSize(twipsToPixels(4110), twipsToPixels(945));
    setCursor(Qt::WaitCursor);

    Label1 = new QLabel(QStringLiteral("保存中..."), this);
    Label1->setTextFormat(Qt::PlainText);
    placeInTwips(Label1, 120, 180, 3855, 195);

    ProgBar1 = new QProgressBar(this);
    ProgBar1->setRange(0, 100);
    ProgBar1->setTextVisible(false);
    placeInTwips(ProgBar1, 120, 540, 3855, 255);
}

Form9::~Form9()
{
    unsetCursor();
}

void Form9::setStatus(const QString& fileTitle, const QString& action)
{
    const QFontMetrics metrics = Label1->fontMetrics();
    const int room = Label1->width() - metrics.horizontalAdvance(action);
    Label1->setText(metrics.elidedText(fileTitle, Qt::ElideMiddle, std::max(room, 0)) + action);
    Label1->setToolTip(fileTitle + action);
}

void Form9::showCentred()
{
    show();
    if (m_mainWindow) {
        // The frame exists once shown; centre it as a whole.
        const QSize frame = frameGeometry().size();
        move(CentredPosition(m_mainWindow->frameGeometry(), frame));
    }
}
