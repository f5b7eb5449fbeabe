<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CheckView</name>
    <message>
        <source>Apply for all</source>
        <translation>Apply for all</translation>
    </message>
</context>
<context>
    <name>DropArea</name>
    <message>
        <source>Select one or more files to open</source>
        <translation>Select one or more files to open</translation>
    </message>
    <message>
        <source>Add file</source>
        <translation>Add file</translation>
    </message>
    <message>
        <source>or drag &amp; drop</source>
        <translation>or drag &amp; drop</translation>
    </message>
</context>
<context>
    <name>FromPdfAlgorithm</name>
    <message>
        <source>%1 of %2 converting. %3 of %4 pages</source>
        <translation>%1 of %2 converting. %3 of %4 pages</translation>
    </message>
</context>
<context>
    <name>InformationWorkerList</name>
    <message>
        <source>%1 out of %2 files. %3</source>
        <translation>%1 out of %2 files. %3</translation>
    </message>
</context>
<context>
    <name>MainView</name>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>From PDF</source>
        <translation>From PDF</translation>
    </message>
    <message>
        <source>To PDF</source>
        <translation>To PDF</translation>
    </message>
    <message>
        <source>Last conversion:</source>
        <translation>Last conversion:</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>Open folder</translation>
    </message>
</context>
<context>
    <name>MessagePassword</name>
    <message>
        <source>Enter password</source>
        <translation>Enter password</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation>SKIP</translation>
    </message>
    <message>
        <source>SKIP ALL</source>
        <translation>SKIP ALL</translation>
    </message>
</context>
<context>
    <name>MessageUpdate</name>
    <message>
        <source>Update available!</source>
        <translation>Update available!</translation>
    </message>
    <message>
        <source>New version of the program is available: &lt;b&gt;%1&lt;/b&gt;.</source>
        <translation>New version of the program is available: &lt;b&gt;%1&lt;/b&gt;.</translation>
    </message>
    <message>
        <source>Read about</source>
        <translation>Read about</translation>
    </message>
    <message>
        <source>new features</source>
        <translation>new features</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>DOWNLOAD</source>
        <translation>DOWNLOAD</translation>
    </message>
</context>
<context>
    <name>MessageView</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>PageImageExport</name>
    <message>
        <source>Merge images...</source>
        <translation>Merge images...</translation>
    </message>
</context>
<context>
    <name>ProgressControl</name>
    <message>
        <source>Time Elapsed: %1</source>
        <translation>Time Elapsed: %1</translation>
    </message>
    <message>
        <source>Time Remaining: %1</source>
        <translation>Time Remaining: %1</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Add files</source>
        <translation>Add files</translation>
    </message>
</context>
<context>
    <name>SaveFolderModel</name>
    <message>
        <source>Sub folder</source>
        <translation>Sub folder</translation>
    </message>
    <message>
        <source>Original folder</source>
        <translation>Original folder</translation>
    </message>
    <message>
        <source>Select folder...</source>
        <translation>Select folder...</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>High</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>SAVE SETTINGS</source>
        <translation>SAVE SETTINGS</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Save to</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Default publisher</source>
        <translation>Default publisher</translation>
    </message>
    <message>
        <source>Quality images</source>
        <translation>Quality images</translation>
    </message>
    <message>
        <source>OCR Language</source>
        <translation>OCR Language</translation>
    </message>
    <message>
        <source>Check for the updates automatically</source>
        <translation>Check for the updates automatically</translation>
    </message>
    <message>
        <source>Send anonymous analytics</source>
        <translation>Send anonymous analytics</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Select destination folder</source>
        <translation>Select destination folder</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading%1</source>
        <translation>Loading%1</translation>
    </message>
</context>
</TS>
