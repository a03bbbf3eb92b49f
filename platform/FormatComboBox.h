#pragma once

#include <QComboBox>

// A drop-down box of the formatting bar. Assistive technology names it by
// its accessible name, whatever text it shows (Qt's own combo box is named
// by its current text on Linux); the text is its value.
class FormatComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit FormatComboBox(QWidget *parent = nullptr);
};
