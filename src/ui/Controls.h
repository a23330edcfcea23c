#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

#include "ui/Twips.h"

// The window's controls, each made and placed in one call: name, caption or contents, then
// left, top, width, height in twips relative to the parent.
namespace Controls {

inline QLabel* label(QWidget* parent, const char* name, const QString& caption, int l, int t, int w,
                     int h) {
    return Twips::place(new QLabel(caption, parent), name, l, t, w, h);
}

inline QLineEdit* textBox(QWidget* parent, const char* name, const QString& text, int l, int t,
                          int w, int h) {
    auto* box = Twips::place(new QLineEdit(text, parent), name, l, t, w, h);
    // The boxes are drawn for three digits in 25 pixels; the style's own inner margin would
    // clip "192", so the text may use it.
    box->setTextMargins(-2, 0, -2, 0);
    return box;
}

inline QPushButton* button(QWidget* parent, const char* name, const QString& caption, int l, int t,
                           int w, int h) {
    return Twips::place(new QPushButton(caption, parent), name, l, t, w, h);
}

// An editable list box: the user picks an entry or types text.
inline QComboBox* listBox(QWidget* parent, const char* name, const QStringList& items, int l, int t,
                          int w, int h) {
    auto* box = Twips::place(new QComboBox(parent), name, l, t, w, h);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(items);
    return box;
}

// One of the two option buttons of a group; the buttons of one parent form one group.
inline QRadioButton* option(QWidget* parent, const char* name, const QString& caption, int l, int t,
                            int w, int h) {
    auto* button = Twips::place(new QRadioButton(caption, parent), name, l, t, w, h);
    button->setAutoExclusive(true);
    return button;
}

// The list entry whose text the box shows, blanks aside; -1 when the text is no entry.
inline int chosenEntry(const QComboBox* box) {
    return box->findText(box->currentText().trimmed(), Qt::MatchExactly);
}

}  // namespace Controls
