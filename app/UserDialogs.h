// The one seam through which the program asks the user something or tells them something,
// so that tests can answer without a person at the keyboard.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace tivla {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // The error box: caption "Тивла", error icon, one OK button. The text arrives final.
    virtual void showError(const QString& text) = 0;
    // The plain message box: caption "Тивла", one OK button, centred on the screen.
    virtual void showMessage(const QString& text) = 0;
    // The chosen name, empty when cancelled. The dialog offers filters, the first selected, and
    // previews the selected file as it would open on a board of currentBoardSize.
    virtual QString openFileName(const QString& startFolder, const QStringList& filters,
                                 int currentBoardSize) = 0;
    // The chosen name as typed (empty when cancelled) and the filter selected when it was.
    struct SaveChoice {
        QString path;
        int filter = 0;
    };
    virtual SaveChoice saveFileName(const QString& startFolder, const QStringList& filters) = 0;
};

// The real dialogs.
class QtUserDialogs final : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
    void showError(const QString& text) override;
    void showMessage(const QString& text) override;
    QString openFileName(const QString& startFolder, const QStringList& filters,
                         int currentBoardSize) override;
    SaveChoice saveFileName(const QString& startFolder, const QStringList& filters) override;

private:
    QWidget* parent_;
};

// An error text as the message box shows it, by the rule tivla-batch's errors follow too (see
// files/FileError.h). Messages carry their raw text up to here.
QString withFullStop(const QString& text);

} // namespace tivla
