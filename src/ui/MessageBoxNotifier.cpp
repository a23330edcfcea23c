#include "ui/MessageBoxNotifier.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxNotifier::showMessage(const QString& text) {
    QWidget* parent = m_parent != nullptr ? m_parent : QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.exec();
}

bool MessageBoxNotifier::askToDiscard(const QString& text) {
    QWidget* parent = m_parent != nullptr ? m_parent : QApplication::activeWindow();
    QMessageBox box(QMessageBox::Question, QString(), text,
                    QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Discard;
}
