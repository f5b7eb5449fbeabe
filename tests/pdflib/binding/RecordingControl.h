#pragma once

// What a test uses to read and script the recording fake library. The test opens the fake
// itself (the same file the binding loads), so its log outlives the binding under test.

#include <QString>
#include <QStringList>

#include <dlfcn.h>

#include <string>

class RecordingControl
{
public:
    explicit RecordingControl(const QString& path)
        : handle(dlopen(path.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL))
    {
    }
    ~RecordingControl()
    {
        if (handle)
            dlclose(handle);
    }
    RecordingControl(const RecordingControl&) = delete;
    RecordingControl& operator=(const RecordingControl&) = delete;

    bool isOpen() const { return handle != nullptr; }

    // Clears the log, the scripts and the buffers; the next instance id is 1 again.
    void reset() { function<void (*)()>("RecordingReset")(); }
    QStringList log() const
    {
        const QString text = QString::fromUtf8(function<const char* (*)()>("RecordingLog")());
        return text.isEmpty() ? QStringList() : text.split('\n');
    }
    void scriptInt(const char* name, int value) { function<void (*)(const char*, int)>("RecordingScriptInt")(name, value); }
    void scriptDouble(const char* name, double value)
    {
        function<void (*)(const char*, double)>("RecordingScriptDouble")(name, value);
    }
    void scriptPointer(const char* name, void* value)
    {
        function<void (*)(const char*, void*)>("RecordingScriptPointer")(name, value);
    }
    void scriptWide(const char* name, const std::wstring& text)
    {
        function<void (*)(const char*, const wchar_t*, int)>("RecordingScriptWide")(
            name, text.data(), static_cast<int>(text.size()));
    }
    void scriptBytes(const char* name, const std::string& bytes)
    {
        function<void (*)(const char*, const char*, int)>("RecordingScriptBytes")(
            name, bytes.data(), static_cast<int>(bytes.size()));
    }

private:
    template <typename F> F function(const char* name) const
    {
        return reinterpret_cast<F>(dlsym(handle, name));
    }

    void* handle;
};
