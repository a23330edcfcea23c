#include "PickCount.h"

#include <QLabel>

#include "OEControls.h"
#include "WindowState.h"
#include "WizardContext.h"

void PickCount::show(const WizardContext& x) {
    QLabel* label = x.c.PickCount;
    if (label == nullptr) {
        return;
    }
    const int page = x.state.StepNum.value();
    const int counter = x.state.DataBufferP.value();
    if (page == 4) {
        label->setText(QStringLiteral("%1/%2").arg(counter).arg(x.state.dataBuffer.at(3).value()));
        label->setToolTip(QString::fromUtf8("已选的行数 / 扫描周期"));
    } else if (page == 5) {
        label->setText(QString::number(counter / 8) + QString::fromUtf8("列"));
        label->setToolTip(QString::fromUtf8("已选的列数"));
    }
    label->setVisible(page == 4 || page == 5);
}
