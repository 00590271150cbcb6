#include "lists/PathLabel.h"

#include "catalog/PathElision.h"

#include <QPainter>
#include <QStyle>

PathLabel::PathLabel(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
}

QString PathLabel::shownText() const
{
    const QFontMetricsF metrics(font());
    return ElidedPath(text(), contentsRect().width(),
                      [&metrics](const QString& part) { return metrics.horizontalAdvance(part); });
}

void PathLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}
