#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The answers tests give in place of one kind of box, menu or file dialog,
// taken in order, and a note of what each one answered would have shown.
template <class Answer> class TestAnswers {
public:
    void push(Answer answer) { m_answers.push_back(std::move(answer)); }

    // The next answer, with what note() says noted; nothing when no answer
    // waits and the real thing is to be shown.
    template <class Note> std::optional<Answer> take(Note note) {
        if (m_answers.empty()) {
            return std::nullopt;
        }
        std::optional<Answer> answer(std::move(m_answers.front()));
        m_answers.pop_front();
        m_noted.push_back(note());
        return answer;
    }

    // The notes since the last call, oldest first; answers left unused are dropped.
    std::vector<std::wstring> answered() {
        m_answers.clear();
        return std::exchange(m_noted, {});
    }

private:
    std::deque<Answer> m_answers;
    std::vector<std::wstring> m_noted;
};
