#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include <functional>

class QWidget;

// One picture of the gallery: a widget (or a whole window) built in a given state.
struct GalleryItem
{
    QString name;                   // file name without ".png"
    std::function<QWidget*()> make; // builds the widget; the gallery owns and deletes it
    QSize size;                     // for a widget: the size of the window-like host around it
    bool window = false;            // a top-level window shown as it is (dialogs)
};

// The pictures of each library, in the order they are written.
QList<GalleryItem> kitItems();
QList<GalleryItem> widgetItems();
QList<GalleryItem> fromPdfItems();
QList<GalleryItem> mainWindowItems();
QList<GalleryItem> fromPdfViewItems();
QList<GalleryItem> toPdfViewItems();

// Lays out the start page as the main window fills it: logo and the two big buttons.
void fillStartPage(QWidget* page, int topSpacing);

// Handles events for ms milliseconds, so that animations and layouts settle.
void settle(int ms);

// Builds a picture in German: English again once its widget is gone.
QWidget* inGerman(const std::function<QWidget*()>& make);

// A light host frame with the main window's background, for widgets that live inside it.
QWidget* hostFrame(QWidget* content, int margin = 12);
