#include "platform/pdf2word/com/ComClassTable.h"
#include "platform/pdf2word/com/ComRuntime.h"
#include "platform/pdf2word/com/DispEventSink.h"
#include "platform/pdf2word/com/Pdf2WordObject.h"

#include <QtTest>

#include <cstring>

namespace {

// The operation slot of a virtual member function: under the Itanium C++ ABI a pointer to a
// virtual member holds 1 + the byte offset of its entry in the table.
template <typename Member>
int slotOf(Member member)
{
    static_assert(sizeof(member) == 2 * sizeof(void*), "Itanium pointer to member");
    std::ptrdiff_t raw = 0;
    std::memcpy(&raw, &member, sizeof(raw));
    return int((raw - 1) / std::ptrdiff_t(sizeof(void*)));
}

class Component : public Pdf2WordObject
{
public:
    explicit Component(int* destroyed = nullptr)
        : m_destroyed(destroyed) {}
    ~Component() override
    {
        if (m_destroyed)
            ++*m_destroyed;
    }
    HRESULT ConvertToWord(BSTR, BSTR, VARIANT, VARIANT, VARIANT) override { return S_OK; }
    LONG progress(LONG current, LONG total) { return fireProgress(current, total, L"text"); }
    size_t connections() const { return connectionCount(); }

private:
    int* m_destroyed;
};

class Sink : public DispEventSink
{
public:
    Sink()
        : DispEventSink(DIID_IPdf2WordEvents)
    {
        addEntry({1, VT_I4, {VT_I4, VT_I4, VT_BSTR}, [this](const std::vector<VARIANT>& arguments) {
                      calls << QStringLiteral("%1/%2 %3")
                                   .arg(arguments[0].lVal)
                                   .arg(arguments[1].lVal)
                                   .arg(QString::fromWCharArray(arguments[2].bstrVal));
                      return answer;
                  }});
    }
    ~Sink() { unadvise(); }
    QStringList calls;
    LONG answer = 0;
};

} // namespace

class ComTest : public QObject
{
    Q_OBJECT

private slots:
    void interfaceSlotsKeepTheirNumbers()
    {
        QCOMPARE(slotOf(&IPdf2Word::QueryInterface), 0);
        QCOMPARE(slotOf(&IPdf2Word::Invoke), 6);
        QCOMPARE(slotOf(&IPdf2Word::ConvertToWord), 8);
        QCOMPARE(slotOf(&IPdf2Word::put_Option10), 10);
        QCOMPARE(slotOf(&IPdf2Word::put_Option13), 13);
        QCOMPARE(slotOf(&IPdf2Word::put_Option19), 19);
        QCOMPARE(slotOf(&IPdf2Word::put_Option29), 29);
        // The setter table hands out the member of the slot asked for.
        for (int slot = 0; slot < 32; ++slot) {
            const bool option = slot == 10 || (slot >= 13 && slot <= 29);
            QCOMPARE(isPdf2WordOptionSlot(slot), option);
            if (option)
                QCOMPARE(slotOf(pdf2WordOptionSetter(slot)), slot);
        }
    }

    void bstrKeepsItsLengthAndEmbeddedZeros()
    {
        const wchar_t text[] = {L'a', 0, L'b'};
        BSTR value = SysAllocStringLen(text, 3);
        QCOMPARE(SysStringLen(value), 3u);
        QCOMPARE(value[2], L'b');
        QCOMPARE(value[3], L'\0');
        SysFreeString(value);
        QCOMPARE(SysStringLen(nullptr), 0u);
        QVERIFY(!SysAllocString(nullptr));

        VARIANT variant;
        VariantInit(&variant);
        variant.vt = VT_BSTR;
        variant.bstrVal = SysAllocString(L"x");
        QCOMPARE(VariantClear(&variant), S_OK);
        QCOMPARE(variant.vt, VARTYPE(VT_EMPTY));
    }

    void classTableCreatesByProgIdOnly()
    {
        const std::wstring progId = L"Test.Component.1";
        void* object = reinterpret_cast<void*>(1);
        QCOMPARE(CoCreateInstanceFromProgID(progId.c_str(), nullptr, CLSCTX_ALL, IID_IPdf2Word, &object),
                 REGDB_E_CLASSNOTREG);
        QVERIFY(!object);

        int destroyed = 0;
        ComClassTable::registerClass(progId, [&](IUnknown*, REFIID iid, void** out) {
            Component* component = new Component(&destroyed);
            const HRESULT result = component->QueryInterface(iid, out);
            component->Release();
            return result;
        });
        IPdf2Word* component = nullptr;
        QCOMPARE(CoCreateInstanceFromProgID(progId.c_str(), nullptr, CLSCTX_ALL, IID_IPdf2Word,
                                            reinterpret_cast<void**>(&component)),
                 S_OK);
        QVERIFY(component);
        QCOMPARE(component->put_Option19(2), S_OK);
        QCOMPARE(static_cast<Component*>(component)->option(19), LONG(2));
        // An interface the component does not have leaves nothing behind.
        const IID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
        QCOMPARE(CoCreateInstanceFromProgID(progId.c_str(), nullptr, CLSCTX_ALL, unknown, &object), E_NOINTERFACE);
        QVERIFY(!object);
        QCOMPARE(destroyed, 1);
        component->Release();
        QCOMPARE(destroyed, 2);

        ComClassTable::revokeClass(progId);
        QVERIFY(!ComClassTable::isRegistered(progId));
    }

    void eventsReachTheSinkInDeclarationOrder()
    {
        Component* component = new Component;
        Sink sink;
        QCOMPARE(component->progress(1, 2), LONG(0)); // nobody listens yet
        QCOMPARE(sink.advise(component), S_OK);
        QCOMPARE(component->connections(), size_t(1));
        sink.answer = -1;
        QCOMPARE(component->progress(3, 7), LONG(-1));
        QCOMPARE(sink.calls, QStringList{QStringLiteral("3/7 text")});

        // Arguments are checked against the sink map.
        VARIANT one;
        VariantInit(&one);
        one.vt = VT_INT;
        one.intVal = 5;
        DISPPARAMS params = {&one, nullptr, 1, 0};
        QCOMPARE(sink.Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), DISP_E_BADPARAMCOUNT);
        QCOMPARE(sink.Invoke(9, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), DISP_E_MEMBERNOTFOUND);

        // Another event interface has no connection point.
        IConnectionPointContainer* container = nullptr;
        QCOMPARE(component->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
        IConnectionPoint* point = nullptr;
        QCOMPARE(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
        container->Release();

        QCOMPARE(sink.unadvise(), S_OK);
        QCOMPARE(component->connections(), size_t(0));
        QCOMPARE(component->progress(4, 7), LONG(0));
        QCOMPARE(sink.calls.size(), 1);
        component->Release();
    }

    void errorDescriptionIsHandedOverOnce()
    {
        SetErrorDescription(L"the reason");
        BSTR description = TakeErrorDescription();
        QCOMPARE(QString::fromWCharArray(description), QStringLiteral("the reason"));
        SysFreeString(description);
        QVERIFY(!TakeErrorDescription());
    }
};

QTEST_APPLESS_MAIN(ComTest)
#include "test_com.moc"
