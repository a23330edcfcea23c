#include "ModuleWindow.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QColor kLit(255, 40, 40);
const QColor kDark(60, 60, 60);
const QColor kText(220, 220, 220);
// The share of its square that a dot fills, leaving black between neighbours.
constexpr double kDotShare = 0.8;

}  // namespace

ModuleWindow::ModuleWindow(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("lumotrix-sim: virtual module"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, Qt::black);
    colours.setColor(QPalette::WindowText, kText);
    setPalette(colours);
    setAutoFillBackground(true);
    m_stateLabel = new QLabel(this);
    m_stateLabel->setWordWrap(true);
    m_stateLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(m_stateLabel);
    resize(800, 480);
}

void ModuleWindow::showModule(const ModuleSnapshot& module) {
    m_module = module;
    m_stateLabel->setText(module.state);
    update();
}

QRectF ModuleWindow::dotsArea() const {
    const int margin = 8;
    return QRectF(margin, margin, width() - 2 * margin,
                  std::max(0, m_stateLabel->geometry().top() - 2 * margin));
}

void ModuleWindow::paintEvent(QPaintEvent*) {
    const int columns = m_module.size.width();
    const int rows = m_module.size.height();
    if (columns <= 0 || rows <= 0) {
        return;
    }
    const QRectF area = dotsArea();
    const double pitch = std::min(area.width() / columns, area.height() / rows);
    const QPointF origin(area.center().x() - pitch * columns / 2,
                         area.center().y() - pitch * rows / 2);
    const double dot = pitch * kDotShare;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < columns; ++x) {
            painter.setBrush(m_module.isLit(x, y) ? kLit : kDark);
            const QPointF centre = origin + QPointF((x + 0.5) * pitch, (y + 0.5) * pitch);
            painter.drawEllipse(centre, dot / 2, dot / 2);
        }
    }
}
