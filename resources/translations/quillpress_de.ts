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
    <name>DropArea</name>
    <message>
        <source>Select one or more files to open</source>
        <translation>Eine oder mehrere Dateien zum Öffnen auswählen</translation>
    </message>
    <message>
        <source>Add file</source>
        <translation>Datei hinzufügen</translation>
    </message>
    <message>
        <source>or drag &amp; drop</source>
        <translation>oder hierher ziehen</translation>
    </message>
</context>
<context>
    <name>FromPdfAlgorithm</name>
    <message>
        <source>%1 of %2 converting. %3 of %4 pages</source>
        <translation>%1 von %2 wird konvertiert. %3 von %4 Seiten</translation>
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
    <name>MessagePassword</name>
    <message>
        <source>Enter password</source>
        <translation>Passwort eingeben</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>SKIP</source>
        <translation>ÜBERSPRINGEN</translation>
    </message>
    <message>
        <source>SKIP ALL</source>
        <translation>ALLE ÜBERSPRINGEN</translation>
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
        <translation>Bilder zusammenfügen...</translation>
    </message>
</context>
<context>
    <name>ProgressControl</name>
    <message>
        <source>Time Elapsed: %1</source>
        <translation>Verstrichene Zeit: %1</translation>
    </message>
    <message>
        <source>Time Remaining: %1</source>
        <translation>Verbleibende Zeit: %1</translation>
    </message>
</context>
<context>
    <name>ProgressDialog</name>
    <message>
        <source>Add files</source>
        <translation>Dateien hinzufügen</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>English</source>
        <translation>Deutsch</translation>
    </message>
</context>
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading%1</source>
        <translation>Laden%1</translation>
    </message>
</context>
</TS>
