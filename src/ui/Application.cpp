#include "ui/Application.h"

#include <QMessageBox>
#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox box(
            QMessageBox::Critical, QString(),
            tr("内部错误：%1\n请把这段文字告诉开发者。").arg(QString::fromUtf8(e.what())),
            QMessageBox::Ok, activeWindow());
        box.exec();
        return false;
    }
}
