// The small modal window a long batch shows: how far it has come and a way to stop it.
#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QPushButton;

namespace tivla {

// The cancel button, Escape and the window's close all reject the dialog; its owner reads that
// as the wish to stop. The window has the main window's colours and fonts.
class BatchProgressWindow : public QDialog {
    Q_OBJECT

public:
    explicit BatchProgressWindow(QWidget* parent = nullptr);

    void showGeneration(std::int32_t generation);
    QLabel* generationLabel() const { return generationLabel_; }
    QPushButton* cancelButton() const { return cancelButton_; }

protected:
    // A cream edge, since the window sits frameless on the main window's own colour.
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* generationLabel_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace tivla
