#include "topdf/workers/ToPdfWorkerFactory.h"

#include "app/core/EbookFormats.h"

#include "topdf/workers/ToPDFWorkerEbook.h"
#include "topdf/workers/ToPDFWorkerOffice.h"
#include "topdf/workers/ToPDFWorkerTIFF.h"
#include "topdf/workers/ToPDFWorkerWebPage.h"
#include "topdf/workers/ToPdfWorkerImages.h"

namespace {

template <typename Worker>
std::unique_ptr<IToPdfWorker> make(const ToPdfWorkerContext& context)
{
    return std::make_unique<Worker>(context);
}

struct Choice
{
    QStringList suffixes; // without the dot
    std::unique_ptr<IToPdfWorker> (*create)(const ToPdfWorkerContext&);
};

const Choice choices[] = {
    {{"jpeg", "jpg", "png", "bmp"}, &make<ToPdfWorkerImages>},
    {{"tiff", "tif"}, &make<ToPDFWorkerTIFF>},
    {EbookFormats::suffixes(), &make<ToPDFWorkerEbook>},
    {{"html", "htm"}, &make<ToPDFWorkerWebPage>},
    {{"doc", "docx", "odt", "ods", "xls", "xlsx"}, &make<ToPDFWorkerOffice>},
};

} // namespace

std::unique_ptr<IToPdfWorker> createWorker(const ToPDFTask& task, const ToPdfWorkerContext& context)
{
    const QString path = task.file.filePath();
    for (const Choice& choice : choices) {
        for (const QString& suffix : choice.suffixes) {
            if (path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive))
                return choice.create(context);
        }
    }
    return nullptr;
}
