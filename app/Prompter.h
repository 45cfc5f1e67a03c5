#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The one place where RawBench asks the user something: file dialogs and message boxes.
// The window and its dialogs never open a modal dialog themselves; they ask their Prompter, so a test can
// install one that answers from a script instead of waiting for a click.
class Prompter {
  public:
    virtual ~Prompter();

    // Standard open-file dialog; returns the chosen path, or an empty text when the user cancels.
    virtual QString askOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter);
    // Standard save-file dialog; returns the chosen path, or an empty text when the user cancels.
    virtual QString askSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                    const QString& filter);
    // Modal message box with the given icon, title, text and buttons; returns the button pressed
    // (Escape and the close button give the escape button of the box, e.g. No).
    virtual QMessageBox::StandardButton askMessage(QMessageBox::Icon icon, QWidget* parent,
                                                   const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons = QMessageBox::Ok);

    // The prompter that shows real dialogs; used until another is installed.
    static Prompter& standard();
};
