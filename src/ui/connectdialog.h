#pragma once

#include <QDialog>
#include <QUrl>

#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

// What the connect dialog shows and returns; texts in CP932.
struct LoginFields {
    std::string user;
    std::string password;
    bool save = false;

    friend bool operator==(const LoginFields&, const LoginFields&) = default;
};

// How the dialog is filled. After a failed login: the name entered last, no password, and the
// save box ticked when a name is saved. Otherwise the saved name and password with the box
// ticked, or all empty when no name is saved.
LoginFields connectDialogFill(const std::string& savedUser, const std::string& savedPassword,
    bool afterFailure, const std::string& lastUser);

// What keeps OK from closing the dialog, checked in this order.
enum class LoginProblem { none, noUser, noPassword };
LoginProblem loginProblem(const LoginFields& fields);

// ネットワークへの接続: user name, password and whether to save them. OK refuses an empty name
// or password with a beep and a message and puts the focus on the field; ユーザ登録 opens the
// server's registration page in the browser and leaves the dialog open.
class ConnectDialog : public QDialog {
    Q_OBJECT
public:
    ConnectDialog(const LoginFields& fill, QUrl registrationPage, QWidget* parent = nullptr);

    LoginFields fields() const;

    // Where OK's refusals are told; by default a message box with the caption エラー.
    void setWarning(std::function<void(const QString& text)> warn) { m_warn = std::move(warn); }
    // Where ユーザ登録 opens its page; by default the desktop's browser.
    void setBrowser(std::function<void(const QUrl& page)> open) { m_open = std::move(open); }

    QLineEdit* userEdit() const { return m_user; }
    QLineEdit* passwordEdit() const { return m_password; }
    QCheckBox* saveBox() const { return m_save; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* registerButton() const { return m_register; }

private:
    void tryAccept();

    QUrl m_registrationPage;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_save = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_register = nullptr;
    std::function<void(const QString&)> m_warn;
    std::function<void(const QUrl&)> m_open;
};
