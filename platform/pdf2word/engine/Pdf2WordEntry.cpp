// The one symbol the engine library exports.

#include "platform/pdf2word/engine/Conversion.h"
#include "platform/pdf2word/engine/Pdf2WordEngine.h"

extern "C" __attribute__((visibility("default"))) int qp_pdf2word_convert(QpPdf2WordJob* job)
{
    if (!job)
        return QP_PDF2WORD_BAD_REQUEST;
    p2w::Conversion conversion(*job);
    return conversion.run();
}
