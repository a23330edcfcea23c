#include "camera/SourceChoice.h"

#include <QRegularExpression>

SourceChoice SourceChoice::fromText(const QString& text, const QList<CameraDescription>& cameras) {
    const QString given = text.trimmed();
    if (given.isEmpty()) {
        return refused(tr("请输入相机的编号、名称或 http:// 视频流地址"));
    }
    if (given.contains(QLatin1String("://"))) {
        return fromAddress(given);
    }
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (digits.match(given).hasMatch()) {
        return fromNumber(given, cameras.size());
    }
    return fromName(given, cameras);
}

QString SourceChoice::listText(const QList<CameraDescription>& cameras) {
    QString text;
    for (qsizetype i = 0; i < cameras.size(); ++i) {
        text += QStringLiteral("%1  %2\n").arg(i + 1).arg(cameras[i].description);
    }
    return text;
}

SourceChoice SourceChoice::refused(const QString& why) {
    SourceChoice choice;
    choice.m_refusal = why;
    return choice;
}

SourceChoice SourceChoice::fromAddress(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https")) {
        return refused(tr("不支持 https 视频流，请改用 http:// 地址"));
    }
    if (scheme != QLatin1String("http")) {
        return refused(tr("不支持这种地址：%1，请用 http:// 视频流地址").arg(text));
    }
    if (!url.isValid() || url.host().isEmpty()) {
        return refused(tr("视频流地址 %1 无效").arg(text));
    }
    SourceChoice choice;
    choice.m_kind = Kind::Stream;
    choice.m_url = url;
    return choice;
}

SourceChoice SourceChoice::fromNumber(const QString& text, qsizetype count) {
    bool ok = false;
    const qsizetype number = text.toLongLong(&ok);
    if (count == 0) {
        return refused(tr("没有找到相机，请检查连接"));
    }
    if (!ok || number < 1 || number > count) {
        return refused(tr("没有第 %1 个相机（共找到 %2 个）").arg(text).arg(count));
    }
    SourceChoice choice;
    choice.m_kind = Kind::Local;
    choice.m_index = number - 1;
    return choice;
}

// A name chooses the camera whose description it is, in any case; failing that, the one
// camera whose description holds it.
SourceChoice SourceChoice::fromName(const QString& text, const QList<CameraDescription>& cameras) {
    QList<qsizetype> holding;
    for (qsizetype i = 0; i < cameras.size(); ++i) {
        const QString& description = cameras[i].description;
        if (description.compare(text, Qt::CaseInsensitive) == 0) {
            holding = {i};
            break;
        }
        if (description.contains(text, Qt::CaseInsensitive)) {
            holding += i;
        }
    }
    if (holding.size() > 1) {
        return refused(tr("有多个相机的名称含有“%1”，请用编号选择").arg(text));
    }
    if (holding.isEmpty()) {
        return refused(tr("没有名为“%1”的相机").arg(text));
    }
    SourceChoice choice;
    choice.m_kind = Kind::Local;
    choice.m_index = holding.first();
    return choice;
}
