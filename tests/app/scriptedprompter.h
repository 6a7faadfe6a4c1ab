#pragma once

#include "app/userprompter.h"
#include "platform/sjis.h"

#include <QString>

#include <deque>
#include <functional>
#include <vector>

// Answers the document's questions in tests: each question takes the next queued answer (yes when
// none is queued) and every call is kept, texts in Unicode, for the test to read.
class ScriptedPrompter : public UserPrompter {
public:
    struct Call {
        QString kind; // "confirm", "error" or "retry"
        QString title;
        QString text;
    };

    void answer(bool yes) { m_answers.push_back(yes); }
    // Runs at every question or message, before it is answered.
    void onCall(std::function<void(const Call&)> hook) { m_hook = std::move(hook); }
    const std::vector<Call>& calls() const { return m_calls; }
    void clear() { m_calls.clear(); }
    // The last call, or an empty one.
    Call last() const { return m_calls.empty() ? Call {} : m_calls.back(); }

    bool confirm(const std::string& title, const std::string& text) override
    {
        return record("confirm", title, text);
    }
    void showError(const std::string& title, const std::string& text) override
    {
        record("error", title, text);
    }
    bool retry(const std::string& title, const std::string& text) override
    {
        return record("retry", title, text);
    }

private:
    bool record(const char* kind, const std::string& title, const std::string& text)
    {
        m_calls.push_back({ QString::fromLatin1(kind), fromSjis(title), fromSjis(text) });
        if (m_hook)
            m_hook(m_calls.back());
        if (m_answers.empty())
            return true;
        const bool yes = m_answers.front();
        m_answers.pop_front();
        return yes;
    }

    std::deque<bool> m_answers;
    std::vector<Call> m_calls;
    std::function<void(const Call&)> m_hook;
};
