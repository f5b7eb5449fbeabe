// Gallery pictures of the scanned-PDF question.
#include "frompdf/checkview/CheckView.h"
#include "tools/gallery/Gallery.h"

#include <QCoreApplication>

QList<GalleryItem> fromPdfItems()
{
    return {
        {QStringLiteral("checkview"),
         [] {
             auto* view = new CheckView(nullptr);
             view->setTitle(QStringLiteral("Annual report 2023 (scanned copy).pdf"));
             view->setText(QCoreApplication::translate(
                 "FromPDFView", "This file appears to be a scanned PDF. We recommended to use OCR for conversion."));
             view->setUseOcrText(QCoreApplication::translate("FromPDFView", "UCE OCR"));
             view->setWithoutOcrText(QCoreApplication::translate("FromPDFView", "WITHOUT OCR"));
             return static_cast<QWidget*>(view);
         },
         QSize(), true},
    };
}
