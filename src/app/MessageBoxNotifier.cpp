#include "MessageBoxNotifier.h"

#include <QMessageBox>

void MessageBoxNotifier::showMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, m_parent);
    box.exec();
}
