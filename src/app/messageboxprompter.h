#pragma once

#include "app/userprompter.h"

#include <QPointer>
#include <QWidget>

// The document's questions as message boxes over the main window (or over no window before it
// exists). Titles and texts are CP932 bytes.
class MessageBoxPrompter : public UserPrompter {
public:
    void setOwner(QWidget* owner) { m_owner = owner; }

    bool confirm(const std::string& title, const std::string& text) override;
    void showError(const std::string& title, const std::string& text) override;
    bool retry(const std::string& title, const std::string& text) override;

private:
    QWidget* owner() const;

    QPointer<QWidget> m_owner;
};
