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
    <name>InformationWorkerList</name>
    <message>
        <source>%1 out of %2 files. %3</source>
        <translation>%1 out of %2 files. %3</translation>
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
    <name>QObject</name>
    <message>
        <source>Log file: %1</source>
        <translation>Log file: %1</translation>
    </message>
    <message>
        <source>Cache folder: %1</source>
        <translation>Cache folder: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>present</source>
        <translation>present</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>missing</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
</context>
</TS>
