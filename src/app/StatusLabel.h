#pragma once

#include <QLabel>

// The status line of the address commands and the download: a label that tells whoever
// listens each caption it is given, so the progress of an exchange can be followed.
class StatusLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    void setCaption(const QString& text) {
        setText(text);
        Q_EMIT captionChanged(text);
    }

Q_SIGNALS:
    void captionChanged(const QString& text);
};
