#include "files/FileProgress.h"

#include <QCoreApplication>
#include <algorithm>
#include <limits>

namespace {

constexpr int PumpMilliseconds = 30;

} // namespace

QPoint CentredPosition(const QRect& mainFrame, const QSize& ownFrame)
{
    const int left = mainFrame.width() / 2 - ownFrame.width() / 2 + mainFrame.left();
    const int top = mainFrame.height() / 2 - ownFrame.height() / 2 + mainFrame.top();
    return {std::max(0, left), std::max(0, top)};
}

int ProgressMaximum(qint64 count)
{
    return int(std::clamp<qint64>(count - 1, 1, std::numeric_limits<int>::max()));
}

EventPump::EventPump()
{
    m_sinceLast.start();
    QCoreApplication::processEvents();
}

void EventPump::operator()()
{
    if (m_sinceLast.elapsed() < PumpMilliseconds)
        return;
    QCoreApplication::processEvents();
    m_sinceLast.restart();
}
