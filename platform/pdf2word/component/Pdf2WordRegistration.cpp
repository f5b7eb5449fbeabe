#include "platform/pdf2word/component/Pdf2WordRegistration.h"

#include "platform/pdf2word/com/ComClassTable.h"
#include "platform/pdf2word/com/ComRuntime.h"
#include "platform/pdf2word/component/EngineLibrary.h"
#include "platform/pdf2word/component/Pdf2WordComponent.h"

void registerPdf2WordComponent(const Pdf2WordSetup& setup)
{
    ComClassTable::registerClass(QStringLiteral(PDF2WORD_PROGID).toStdWString(),
                                 [setup](IUnknown* outer, REFIID iid, void** object) -> HRESULT {
                                     if (outer)
                                         return CLASS_E_NOAGGREGATION;
                                     QString error;
                                     const QpPdf2WordConvert engine = EngineLibrary::load(setup.enginePath, &error);
                                     if (!engine) {
                                         SetErrorDescription(error.toStdWString().c_str());
                                         return CO_E_DLLNOTFOUND;
                                     }
                                     Pdf2WordComponent* component = new Pdf2WordComponent(engine, setup);
                                     const HRESULT result = component->QueryInterface(iid, object);
                                     component->Release();
                                     return result;
                                 });
}
