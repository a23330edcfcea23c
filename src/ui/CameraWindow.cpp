#include "ui/CameraWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "session/CameraWalk.h"
#include "ui/CameraPictureView.h"

namespace {

constexpr int kTurns[] = {0, 90, 180, 270};

}  // namespace

CameraWindow::CameraWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("CameraWindow"));
    setWindowTitle(tr("相机"));
    auto* layout = new QVBoxLayout(this);
    m_picture = new CameraPictureView(this);
    layout->addWidget(m_picture, 1);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    m_reading = new QLabel(this);
    layout->addWidget(m_reading);
    layout->addWidget(createControls());
}

QWidget* CameraWindow::createControls() {
    auto* controls = new QWidget(this);
    auto* row = new QHBoxLayout(controls);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("来源"), controls));
    m_source = new QComboBox(controls);
    m_source->setEditable(true);
    m_source->setInsertPolicy(QComboBox::NoInsert);
    m_source->setMinimumContentsLength(24);
    m_source->lineEdit()->setPlaceholderText(tr("相机，或 http:// 地址"));
    row->addWidget(m_source, 1);
    auto* connectButton = new QPushButton(tr("连接"), controls);
    row->addWidget(connectButton);
    row->addWidget(new QLabel(tr("旋转"), controls));
    m_rotation = new QComboBox(controls);
    for (int turn : kTurns) {
        m_rotation->addItem(QStringLiteral("%1°").arg(turn), turn);
    }
    row->addWidget(m_rotation);
    m_mirror = new QCheckBox(tr("镜像"), controls);
    row->addWidget(m_mirror);
    m_start = new QPushButton(controls);
    row->addWidget(m_start);
    setRunning(false);
    connect(connectButton, &QPushButton::clicked, this,
            [this] { Q_EMIT sourceChosen(m_source->currentText().trimmed()); });
    connect(m_source->lineEdit(), &QLineEdit::returnPressed, connectButton, &QPushButton::click);
    const auto orientation = [this] {
        Q_EMIT orientationChosen(m_rotation->currentData().toInt(), m_mirror->isChecked());
    };
    connect(m_rotation, &QComboBox::activated, this, orientation);
    connect(m_mirror, &QCheckBox::clicked, this, orientation);
    connect(m_start, &QPushButton::clicked, this, &CameraWindow::startPressed);
    return controls;
}

void CameraWindow::setSources(const QStringList& sources, const QString& current) {
    m_source->clear();
    m_source->addItems(sources);
    m_source->setEditText(current);
}

void CameraWindow::setOrientation(int turnDegrees, bool mirrored) {
    m_rotation->setCurrentIndex(std::max(0, m_rotation->findData(turnDegrees)));
    m_mirror->setChecked(mirrored);
}

void CameraWindow::showStatus(const QString& text, bool needsUser) {
    m_status->setText(text);
    m_status->setStyleSheet(needsUser ? QStringLiteral("color: #c00000; font-weight: bold")
                                      : QString());
}

void CameraWindow::showSnapshot(const CameraSnapshot& snapshot) {
    m_picture->show(snapshot);
    m_reading->setText(describe(snapshot.reading));
}

void CameraWindow::setRunning(bool running) {
    m_start->setText(running ? tr("暂停 (F5)") : tr("开始 (F5)"));
}

QString CameraWindow::describe(const CameraReading& reading) {
    using Doubt = CameraReading::Doubt;
    using Light = CameraReading::Light;
    switch (reading.doubt) {
        case Doubt::None:
            return tr("亮的灯：第 %1 行 第 %2 列").arg(reading.led.y()).arg(reading.led.x());
        case Doubt::Uncalibrated:
            return reading.light == Light::Lit    ? tr("模块亮")
                   : reading.light == Light::Dark ? tr("模块暗")
                                                  : tr("看不清模块是亮还是暗");
        default:
            return CameraWalk::describe(reading.doubt);
    }
}

// Esc pauses the walk; it does not close the window.
void CameraWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT pauseWanted();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CameraWindow::closeEvent(QCloseEvent* event) {
    Q_EMIT pauseWanted();
    event->accept();
}
