#pragma once

#include "library/recorddetails.h"

#include <QWidget>

class CollectionTree;
class QButtonGroup;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
struct GameRecord;

// The editor's 情報 page: the form for everything of a record but its name and moves. It is
// filled once when it opens; what the user types stays until OK reads it. Nothing on it is
// derived from the moves, and nothing is checked: the save takes the form as it stands.
class InfoPage : public QWidget {
    Q_OBJECT
public:
    explicit InfoPage(QWidget* parent = nullptr);

    // Fills the controls from the record, the name lists from the collection's player names.
    void fill(const CollectionTree& collection, const GameRecord& record);
    // What the controls hold now.
    RecordDetails details() const;

    QComboBox* blackName() const { return m_blackName; }
    QComboBox* whiteName() const { return m_whiteName; }
    QLineEdit* blackDiscs() const { return m_blackDiscs; }
    QLineEdit* whiteDiscs() const { return m_whiteDiscs; }
    QRadioButton* blackWins() const { return m_blackWins; }
    QRadioButton* draw() const { return m_draw; }
    QRadioButton* whiteWins() const { return m_whiteWins; }
    QComboBox* endType() const { return m_endType; }
    QLineEdit* year() const { return m_year; }
    QLineEdit* month() const { return m_month; }
    QLineEdit* day() const { return m_day; }
    QLineEdit* hour() const { return m_hour; }
    QLineEdit* minute() const { return m_minute; }
    QLineEdit* second() const { return m_second; }
    QPlainTextEdit* comment() const { return m_comment; }

protected:
    // Enter and Esc on the page do nothing (the comment box takes Enter as a new line).
    void keyPressEvent(QKeyEvent* event) override;

private:
    QComboBox* m_blackName = nullptr;
    QComboBox* m_whiteName = nullptr;
    QLineEdit* m_blackDiscs = nullptr;
    QLineEdit* m_whiteDiscs = nullptr;
    QButtonGroup* m_winner = nullptr;
    QRadioButton* m_blackWins = nullptr;
    QRadioButton* m_draw = nullptr;
    QRadioButton* m_whiteWins = nullptr;
    QComboBox* m_endType = nullptr;
    QLineEdit* m_year = nullptr;
    QLineEdit* m_month = nullptr;
    QLineEdit* m_day = nullptr;
    QLineEdit* m_hour = nullptr;
    QLineEdit* m_minute = nullptr;
    QLineEdit* m_second = nullptr;
    QPlainTextEdit* m_comment = nullptr;
};
