#pragma once

// The component behind the ProgID: converts with the engine library, reports each page through
// event 1 (an answer of -1 stops and leaves no output), reports the end through event 2, and
// leaves a description of every failure for its caller. The slot-19 option chooses the road:
// 0 the layout road, 2 the plain road, which still gives an editable document where the layout
// road answers 0x80050002 or 0x80050003. DOC and RTF are its DOCX converted by LibreOffice.

#include "platform/pdf2word/com/Pdf2WordObject.h"
#include "platform/pdf2word/component/Pdf2WordRegistration.h"
#include "platform/pdf2word/engine/Pdf2WordEngine.h"

#include <QString>

class Pdf2WordComponent : public Pdf2WordObject
{
public:
    Pdf2WordComponent(QpPdf2WordConvert engine, const Pdf2WordSetup& setup);

    HRESULT ConvertToWord(BSTR source, BSTR output, VARIANT password, VARIANT firstPage, VARIANT lastPage) override;

    // The result and the description for an engine result.
    static HRESULT resultFor(int engineResult);

private:
    HRESULT failure(HRESULT result, const QString& description);
    static int onEngineProgress(void* context, int current, int total);
    static void onEngineNote(void* context, const char* text);

    QpPdf2WordConvert m_engine;
    Pdf2WordSetup m_setup;
};
