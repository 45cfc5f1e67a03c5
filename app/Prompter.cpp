#include "Prompter.h"

#include <QFileDialog>

Prompter::~Prompter() = default;

QString Prompter::askOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                  const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString Prompter::askSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                  const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}

QMessageBox::StandardButton Prompter::askMessage(QMessageBox::Icon icon, QWidget* parent,
                                                 const QString& title, const QString& text,
                                                 QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, title, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

Prompter& Prompter::standard() {
    static Prompter prompter;
    return prompter;
}
