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
    <name>SettingsView</name>
    <message>
        <source>English</source>
        <translation>English</translation>
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
