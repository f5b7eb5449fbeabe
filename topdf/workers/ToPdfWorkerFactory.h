#pragma once

#include "topdf/workers/IToPdfWorker.h"

#include <memory>

// The worker for a task, chosen by the ending of its file's path (any case): images (.jpeg, .jpg,
// .png, .bmp), TIFF (.tiff, .tif), e-books (.epub, .mobi, .fb2), web pages (.html, .htm) and office
// documents (.doc, .docx, .odt, .ods, .xls, .xlsx). Null for any other file.
std::unique_ptr<IToPdfWorker> createWorker(const ToPDFTask& task, const ToPdfWorkerContext& context);
