#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of the given outer size stands centred on the main window's
// outer frame; never left of or above the screen origin.
QPoint CentredPosition(const QRect& mainFrame, const QSize& ownFrame);

// A progress maximum for count steps numbered from 0. Fewer than two steps
// still give a range the bar can show (0 to 1).
int ProgressMaximum(qint64 count);

// Lets pending window events run during a long loop, at most every few
// milliseconds: serving them after each of thousands of names would cost
// more than the work itself, while the progress still repaints smoothly.
class EventPump {
public:
    EventPump();
    void operator()();

private:
    QElapsedTimer m_sinceLast;
};
