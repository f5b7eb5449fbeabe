#pragma once

#include "shared/records/LayoutSettingsData.h"

#include <QFrame>
#include <QImage>
#include <QSharedPointer>

class DebenuService;

// A small picture of one PDF page as the layout settings would make it: the paper in its
// orientation, the margins, and the picture scaled to fit (or at its own size), turned and
// placed at the chosen position. It only illustrates; the image worker makes the real page.
class PreviewControl : public QFrame
{
    Q_OBJECT

public:
    explicit PreviewControl(QWidget* parent = nullptr);

    void setLayoutSettings(const LayoutSettingsData& settings);
    LayoutSettingsData layoutSettings() const { return m_settings; }
    // The PDF library through which loadImage measures a picture as the image worker does; without
    // it a picture is taken at 96 dpi.
    void setPdfService(QSharedPointer<DebenuService> service) { m_service = std::move(service); }
    // The picture to place; false (and the default cover shown) when the file does not load.
    bool loadImage(const QString& path);

    // The page in points, one pixel a point: white paper with a red outline and the picture on it.
    // pictureSize is the picture's own size in points (picture may be a reduced copy of it).
    static QImage renderPage(const LayoutSettingsData& settings, const QImage& picture, QSize pictureSize);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LayoutSettingsData m_settings;
    QSharedPointer<DebenuService> m_service;
    QImage m_picture;
    QSize m_pictureSize; // in points
};
