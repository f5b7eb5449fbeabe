<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CheckView</name>
    <message>
        <source>Apply for all</source>
        <translation>Für alle übernehmen</translation>
    </message>
</context>
<context>
    <name>InformationWorkerList</name>
    <message>
        <source>%1 out of %2 files. %3</source>
        <translation>%1 von %2 Dateien. %3</translation>
    </message>
</context>
<context>
    <name>PageImageExport</name>
    <message>
        <source>Merge images...</source>
        <translation>Bilder zusammenfügen...</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Log file: %1</source>
        <translation>Protokolldatei: %1</translation>
    </message>
    <message>
        <source>Cache folder: %1</source>
        <translation>Cache-Ordner: %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>present</source>
        <translation>vorhanden</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>English</source>
        <translation>Deutsch</translation>
    </message>
</context>
</TS>
