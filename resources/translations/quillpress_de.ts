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
    <name>MainView</name>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>From PDF</source>
        <translation>Aus PDF</translation>
    </message>
    <message>
        <source>To PDF</source>
        <translation>In PDF</translation>
    </message>
    <message>
        <source>Last conversion:</source>
        <translation>Letzte Umwandlung:</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>MessageUpdate</name>
    <message>
        <source>Update available!</source>
        <translation>Update verfügbar!</translation>
    </message>
    <message>
        <source>New version of the program is available: &lt;b&gt;%1&lt;/b&gt;.</source>
        <translation>Eine neue Version des Programms ist verfügbar: &lt;b&gt;%1&lt;/b&gt;.</translation>
    </message>
    <message>
        <source>Read about</source>
        <translation>Lesen Sie über die</translation>
    </message>
    <message>
        <source>new features</source>
        <translation>neuen Funktionen</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>DOWNLOAD</source>
        <translation>HERUNTERLADEN</translation>
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
    <name>SaveFolderModel</name>
    <message>
        <source>Sub folder</source>
        <translation>Unterordner</translation>
    </message>
    <message>
        <source>Original folder</source>
        <translation>Ursprungsordner</translation>
    </message>
    <message>
        <source>Select folder...</source>
        <translation>Ordner wählen...</translation>
    </message>
</context>
<context>
    <name>SettingsView</name>
    <message>
        <source>English</source>
        <translation>Deutsch</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>SAVE SETTINGS</source>
        <translation>EINSTELLUNGEN SPEICHERN</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>Save to</source>
        <translation>Speichern in</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Default publisher</source>
        <translation>Standard-Herausgeber</translation>
    </message>
    <message>
        <source>Quality images</source>
        <translation>Bildqualität</translation>
    </message>
    <message>
        <source>OCR Language</source>
        <translation>OCR-Sprache</translation>
    </message>
    <message>
        <source>Check for the updates automatically</source>
        <translation>Automatisch nach Updates suchen</translation>
    </message>
    <message>
        <source>Send anonymous analytics</source>
        <translation>Anonyme Nutzungsdaten senden</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Select destination folder</source>
        <translation>Zielordner wählen</translation>
    </message>
</context>
</TS>
