#pragma once

#include <QWidget>

// The program's first window until the main window takes its place: an empty frame of the main
// window's size under the product's name.
class StartWindow : public QWidget
{
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);
};
