#include <QMessageBox>
#include <QTimer>
#include <QtTest>
#include <stdexcept>

#include "Application.h"

// A failure that no handler expects is a fault of the program: the application shows it as an
// internal error with its text, and the program goes on.
class ApplicationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void unexpectedFailureIsShownAsAnInternalError();
};

namespace {
class FaultyObject : public QObject {
protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw std::logic_error("a fault inside");
        }
        return QObject::event(event);
    }
};
}  // namespace

void ApplicationTest::unexpectedFailureIsShownAsAnInternalError() {
    FaultyObject faulty;
    QString shown;
    QTimer::singleShot(0, this, [&shown] {  // runs inside the message box
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        shown = box->text();
        box->accept();
    });
    QCoreApplication::postEvent(&faulty, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&faulty);
    QVERIFY2(shown.contains(QStringLiteral("a fault inside")), qPrintable(shown));
    QVERIFY(shown.startsWith(QString::fromUtf8("内部错误")));
    QCoreApplication::postEvent(&faulty, new QEvent(QEvent::None));
    QCoreApplication::sendPostedEvents(&faulty);  // still running
}

int main(int argc, char* argv[]) {
    Application app(argc, argv);
    ApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_application.moc"
