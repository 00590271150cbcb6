#include "shell/Form4.h"

#include "platform/Twips.h"
#include "shell/HeavyText.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTextDocument>

using platform::twipsToPixels;

namespace {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

} // namespace

Form4::Form4(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(QStringLiteral("Glyfaro 2"));
    setFixedSize(twipsToPixels(5295), twipsToPixels(3255));
    createControls();
}

void Form4::createControls()
{
    Text2 = new QPlainTextEdit(this);
    Text2->setReadOnly(true);
    Text2->setFrameShape(QFrame::NoFrame);
    Text2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text2->setFocusPolicy(Qt::NoFocus);
    // Aligned with the status line above it.
    Text2->document()->setDocumentMargin(0);
    Text2->setStyleSheet(QStringLiteral("background: transparent; color: white;"));
    Text2->setPlainText(QStringLiteral("Glyfaro 2\n"
                                       "for Windows 95/98/NT4.0/2000\n"
                                       "このソフトウェアは無料でお使いいただけます。"));
    Text2->setGeometry(twipsRect(360, 2040, 4575, 900));

    Label1 = new QLabel(this);
    Label1->setStyleSheet(QStringLiteral("color: white;"));
    // A long font name must not push the label out of its place.
    Label1->setGeometry(twipsRect(360, 1620, 4575, 195).adjusted(0, -2, 0, 2));
    Label1->setTextFormat(Qt::PlainText);
}

void Form4::centreOnScreen()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - rect().center());
    }
}

void Form4::paintEvent(QPaintEvent*)
{
    const qreal ratio = devicePixelRatioF();
    if (m_artwork.isNull() || m_artwork.size() != size() * ratio) {
        // The product artwork: a deep blue field with two large sample glyphs.
        m_artwork = QPixmap(size() * ratio);
        m_artwork.setDevicePixelRatio(ratio);
        QPainter painter(&m_artwork);
        QLinearGradient gradient(0, 0, width(), height());
        gradient.setColorAt(0, QColor(0x10, 0x2a, 0x5c));
        gradient.setColorAt(1, QColor(0x3a, 0x6e, 0xa5));
        painter.fillRect(rect(), gradient);

        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QFont glyphFont = font();
        glyphFont.setPixelSize(height() / 3);
        painter.setPen(QColor(255, 255, 255, 60));
        drawHeavyText(painter, QRect(width() / 2, 0, width() / 2, height() / 2), Qt::AlignCenter,
                      QStringLiteral("Aあ"), glyphFont);

        QFont titleFont = font();
        titleFont.setPixelSize(twipsToPixels(480));
        painter.setPen(Qt::white);
        drawHeavyText(painter, QRect(twipsToPixels(360), twipsToPixels(480), width(), twipsToPixels(720)),
                      Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Glyfaro 2"), titleFont);
    }
    QPainter(this).drawPixmap(0, 0, m_artwork);
}
