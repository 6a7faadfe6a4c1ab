#pragma once

#include <QEvent>

// The messages the sheet page's number editor posts to the page. They are queued, so each is
// handled after the key press that caused it, and in the order they were posted.
enum CellEventType {
    // Enter (commit, value 0) or Esc (discard, value −1) in the number editor.
    MSG_CELL_EDIT_DONE = QEvent::User + 210,
    // A key press that is a sheet command; the value is the Qt key code.
    MSG_CELL_KEY = QEvent::User + 211,
};

class CellEvent : public QEvent {
public:
    CellEvent(CellEventType type, int value)
        : QEvent(static_cast<QEvent::Type>(type))
        , m_value(value)
    { }
    int value() const { return m_value; }

private:
    int m_value;
};
