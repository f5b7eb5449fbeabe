#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The output formats the format pop-up offers, in the order shown (OutputFormats::offered():
// "doc", "docx", "rtf", "odt", "jpg", "png", "bmp", "tiff", "gif", "eps", "html", "wmf").
class ExportFormatModel : public QAbstractListModel
{
    Q_OBJECT

public:
    explicit ExportFormatModel(QObject* parent = nullptr);

    static QStringList formats();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // The row of a format (exact match), -1 when it is not offered.
    int rowOf(const QString& format) const;

private:
    const QStringList m_formats;
};
