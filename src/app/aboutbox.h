#pragma once

#include <QDialog>

class QLabel;

// The about box: the program's picture and the version line "Version 0.30" on white.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    QString versionLine() const;

private:
    QLabel* m_version = nullptr;
};
