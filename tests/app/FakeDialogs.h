// Answers the program's dialogs in tests: records every message and hands out prepared file
// names.
#pragma once

#include "app/UserDialogs.h"

#include <QStringList>

#include <functional>

namespace tivla {

class FakeDialogs final : public UserDialogs {
public:
    struct Log {
        QStringList errors;
        QStringList messages;
        QString nextOpen;
        QString nextSave;
        // The filter the "user" selects in the save dialog.
        int nextSaveFilter = 0;
        QStringList openFolders;
        // The board size each open dialog's preview was given.
        QList<int> openBoardSizes;
        // The filters each file dialog offered, in the order the dialogs came.
        QList<QStringList> filters;
        // Runs while a dialog is "open", as the real modal loop would let events run.
        std::function<void()> whileOpen;
    };

    explicit FakeDialogs(Log& log) : log_(log) {}
    void showError(const QString& text) override {
        log_.errors << text;
        pump();
    }
    void showMessage(const QString& text) override {
        log_.messages << text;
        pump();
    }
    QString openFileName(const QString& startFolder, const QStringList& filters,
                         int currentBoardSize) override {
        log_.openFolders << startFolder;
        log_.openBoardSizes << currentBoardSize;
        log_.filters << filters;
        pump();
        return log_.nextOpen;
    }
    SaveChoice saveFileName(const QString& startFolder, const QStringList& filters) override {
        log_.openFolders << startFolder;
        log_.filters << filters;
        pump();
        return {log_.nextSave, log_.nextSaveFilter};
    }

private:
    void pump() {
        if (log_.whileOpen) {
            log_.whileOpen();
        }
    }
    Log& log_;
};

} // namespace tivla
