#pragma once

#include <QWidget>

class QComboBox;
class QPushButton;

// SELECTION, the port dialog that opens first: COM1 to COM8 in a combo box and OK.
class SelectionWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SelectionWindow(QWidget* parent = nullptr);

    QComboBox* TxtCOM() const { return txtCom_; }

    // "COM1" to "COM8" give 1 to 8; the comparison is exact and case-sensitive; 0 for anything
    // else.
    static int portNumberOf(const QString& text);

    // Closes the dialog once the main window has taken over; the program goes on.
    void closeQuietly();

Q_SIGNALS:
    // A port was picked: portNumber 0 means the text named none. closeAfter tells whether the
    // dialog closes once the main window is up (OK) or only hides (the hidden COM buttons).
    void portChosen(int portNumber, bool closeAfter);
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The dialog opens: it centres itself and offers COM1.
    void Form_Load();

    QComboBox* txtCom_;
    bool closingQuietly_ = false;
};
