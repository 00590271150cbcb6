#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

// Records every box and answers from queues; an empty queue answers OK for a
// box, "cancel" for the other dialogs.
class FakeDialogs : public platform::Dialogs {
public:
    struct Box {
        QString text;
        int style;
        QString title;
    };

    int messageBox(const QString& text, int style, const QString& title) override
    {
        boxes.append({text, style, title});
        if (onBox)
            onBox(boxes.last());
        if (answers.empty())
            return (style & 0xF) == platform::MbYesNo ? platform::AnswerYes : platform::AnswerOk;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> openFile(const platform::FileDialogRequest& request) override
    {
        fileRequests.append(request);
        return take(fileAnswers);
    }
    std::optional<QStringList> openFiles(const platform::FileDialogRequest& request) override
    {
        fileRequests.append(request);
        return take(filesAnswers);
    }
    std::optional<QString> saveFile(const platform::FileDialogRequest& request) override
    {
        fileRequests.append(request);
        return take(fileAnswers);
    }
    std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override
    {
        colorRequests.append(initial);
        return take(colorAnswers);
    }

    QList<Box> boxes;
    std::deque<int> answers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QStringList>> filesAnswers;
    std::deque<std::optional<std::uint32_t>> colorAnswers;
    QList<platform::FileDialogRequest> fileRequests;
    QList<std::uint32_t> colorRequests;
    std::function<void(const Box&)> onBox;

private:
    template <typename T>
    static std::optional<T> take(std::deque<std::optional<T>>& queue)
    {
        if (queue.empty())
            return std::nullopt;
        const bool given = queue.front().has_value();
        T value = given ? *queue.front() : T();
        queue.pop_front();
        return given ? std::optional<T>(std::move(value)) : std::nullopt;
    }
};
