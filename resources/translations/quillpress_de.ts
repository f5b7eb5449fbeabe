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
    <name>ConversionTab</name>
    <message>
        <source>All files:</source>
        <translation>Alle Dateien:</translation>
    </message>
    <message>
        <source>Delete all</source>
        <translation>Alle löschen</translation>
    </message>
    <message>
        <source>Save to folder:</source>
        <translation>Speichern in:</translation>
    </message>
    <message>
        <source>CONVERT</source>
        <translation>KONVERTIEREN</translation>
    </message>
    <message>
        <source>Select one or more files to open</source>
        <translation>Eine oder mehrere Dateien zum Öffnen auswählen</translation>
    </message>
    <message>
        <source>Select destination folder</source>
        <translation>Zielordner auswählen</translation>
    </message>
    <message>
        <source>OPEN FOLDER</source>
        <translation>ORDNER ÖFFNEN</translation>
    </message>
    <message>
        <source>The operation was cancelled before any file was written.</source>
        <translation>Der Vorgang wurde abgebrochen, bevor eine Datei geschrieben wurde.</translation>
    </message>
    <message>
        <source>The operation was cancelled. You can open the folder to view the result.</source>
        <translation>Der Vorgang wurde abgebrochen. Sie können den Ordner öffnen, um das Ergebnis anzusehen.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created or written to. Choose another folder to save your files in.</source>
        <translation>Der Ordner %1 kann nicht angelegt oder beschrieben werden. Wählen Sie einen anderen Ordner zum Speichern Ihrer Dateien.</translation>
    </message>
    <message>
        <source>The folders %1 cannot be created or written to. Choose another folder to save your files in.</source>
        <translation>Die Ordner %1 können nicht angelegt oder beschrieben werden. Wählen Sie einen anderen Ordner zum Speichern Ihrer Dateien.</translation>
    </message>
    <message>
        <source>Can not save files</source>
        <translation>Dateien können nicht gespeichert werden</translation>
    </message>
</context>
<context>
    <name>DocumentViewer</name>
    <message>
        <source>%1 - PDF Converter</source>
        <translation>%1 - PDF-Konverter</translation>
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
    <name>FromPDFDelegate</name>
    <message>
        <source>Enter</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
</context>
<context>
    <name>FromPDFModel</name>
    <message>
        <source>All (%1)</source>
        <translation>Alle (%1)</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
    <message>
        <source>To</source>
        <translation>In</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Teilen</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
</context>
<context>
    <name>FromPDFView</name>
    <message>
        <source>Split all</source>
        <translation>Alle teilen</translation>
    </message>
    <message>
        <source>Files (*.pdf)</source>
        <translation>Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>Add PDF File</source>
        <translation>PDF-Datei hinzufügen</translation>
    </message>
    <message>
        <source>Can not open file</source>
        <translation>Datei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>The password for %1 is incorrect</source>
        <translation>Das Passwort für %1 ist falsch</translation>
    </message>
    <message>
        <source>These files could not be opened as PDF documents and were not added: %1</source>
        <translation>Diese Dateien konnten nicht als PDF-Dokumente geöffnet werden und wurden nicht hinzugefügt: %1</translation>
    </message>
    <message>
        <source>Convert complete</source>
        <translation>Konvertierung abgeschlossen</translation>
    </message>
    <message>
        <source>Convert failed</source>
        <translation>Konvertierung fehlgeschlagen</translation>
    </message>
    <message>
        <source>None of your files could be converted.</source>
        <translation>Keine Ihrer Dateien konnte konvertiert werden.</translation>
    </message>
    <message>
        <source>%1 of %2 files could not be converted. You can open the folder to view the result.</source>
        <translation>%1 von %2 Dateien konnten nicht konvertiert werden. Sie können den Ordner öffnen, um das Ergebnis anzusehen.</translation>
    </message>
    <message>
        <source>All of your files has been converted. You can open the folder to view the result.</source>
        <translation>Alle Ihre Dateien wurden konvertiert. Sie können den Ordner öffnen, um das Ergebnis anzusehen.</translation>
    </message>
    <message>
        <source>This file appears to be a scanned PDF. We recommended to use OCR for conversion.</source>
        <translation>Diese Datei scheint ein gescanntes PDF zu sein. Wir empfehlen, sie mit Texterkennung (OCR) zu konvertieren.</translation>
    </message>
    <message>
        <source>UCE OCR</source>
        <translation>MIT OCR</translation>
    </message>
    <message>
        <source>WITHOUT OCR</source>
        <translation>OHNE OCR</translation>
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
    <name>MessageView</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>Page</name>
    <message>
        <source>Page %1</source>
        <translation>Seite %1</translation>
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
    <name>PageRangesView</name>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>SCHLIESSEN</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
    <message>
        <source>To</source>
        <translation>Bis</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation>Alle entfernen</translation>
    </message>
    <message>
        <source>Choose page ranges. Total pages in document: %1</source>
        <translation>Seitenbereiche wählen. Seiten im Dokument: %1</translation>
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
<context>
    <name>SplashScreen</name>
    <message>
        <source>Loading%1</source>
        <translation>Laden%1</translation>
    </message>
</context>
<context>
    <name>TextDocument</name>
    <message>
        <source>Go to page %1</source>
        <translation>Gehe zu Seite %1</translation>
    </message>
</context>
<context>
    <name>ToPDFAlgorithm</name>
    <message>
        <source>%1 of %2 converting</source>
        <translation>%1 von %2 wird konvertiert</translation>
    </message>
</context>
<context>
    <name>ToPDFModel</name>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>From</source>
        <translation>Von</translation>
    </message>
</context>
<context>
    <name>ToPDFSettingsView</name>
    <message>
        <source>Original</source>
        <translation>Original</translation>
    </message>
    <message>
        <source>Scale to fit</source>
        <translation>Einpassen</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter</translation>
    </message>
    <message>
        <source>A3</source>
        <translation>A3</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>A5</source>
        <translation>A5</translation>
    </message>
    <message>
        <source>B5</source>
        <translation>B5</translation>
    </message>
    <message>
        <source>Fit image</source>
        <translation>Wie das Bild</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Kein</translation>
    </message>
    <message>
        <source>Small (1 cm)</source>
        <translation>Klein (1 cm)</translation>
    </message>
    <message>
        <source>Big (2 cm)</source>
        <translation>Groß (2 cm)</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Hochformat</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Querformat</translation>
    </message>
    <message>
        <source>File settings</source>
        <translation>Datei-Einstellungen</translation>
    </message>
    <message>
        <source>Layout settings</source>
        <translation>Layout-Einstellungen</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Dateiname</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Publisher</source>
        <translation>Herausgeber</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>Image Size</source>
        <translation>Bildgröße</translation>
    </message>
    <message>
        <source>Page Size</source>
        <translation>Seitengröße</translation>
    </message>
    <message>
        <source>Margin</source>
        <translation>Rand</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Drehen</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Ausrichtung</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Vorschau</translation>
    </message>
    <message>
        <source>%1 - PDF Settings</source>
        <translation>%1 - PDF-Einstellungen</translation>
    </message>
    <message>
        <source>For ALL - PDF Settings</source>
        <translation>Für ALLE - PDF-Einstellungen</translation>
    </message>
    <message>
        <source>General - PDF Settings</source>
        <translation>Allgemein - PDF-Einstellungen</translation>
    </message>
    <message>
        <source>SAVE FILE SETTINGS</source>
        <translation>DATEI-EINSTELLUNGEN SPEICHERN</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>ABBRECHEN</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>SCHLIESSEN</translation>
    </message>
    <message>
        <source>APPLY LAYOUT SETTINGS</source>
        <translation>LAYOUT ÜBERNEHMEN</translation>
    </message>
    <message>
        <source>Validation error</source>
        <comment>msg_validate_title</comment>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>Check input field</source>
        <comment>msg_validate_message</comment>
        <translation>Bitte prüfen Sie das Eingabefeld</translation>
    </message>
    <message>
        <source>file settings</source>
        <translation>Datei-Einstellungen</translation>
    </message>
    <message>
        <source>layout settings</source>
        <translation>Layout-Einstellungen</translation>
    </message>
    <message>
        <source>The %1 have been modified</source>
        <translation>Die %1 wurden geändert</translation>
    </message>
    <message>
        <source>Save changes?</source>
        <translation>Änderungen speichern?</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>JA</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NEIN</translation>
    </message>
</context>
<context>
    <name>ToPDFView</name>
    <message>
        <source>Add file</source>
        <comment>for drop area</comment>
        <translation>Datei hinzufügen</translation>
    </message>
    <message>
        <source>Merge all in one PDF file</source>
        <translation>Alle zu einer PDF-Datei zusammenführen</translation>
    </message>
    <message>
        <source>merged_%1</source>
        <translation>zusammengefuehrt_%1</translation>
    </message>
    <message>
        <source>Can not open file</source>
        <translation>Datei kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>These files could not be found and were not added: %1</source>
        <translation>Diese Dateien wurden nicht gefunden und nicht hinzugefügt: %1</translation>
    </message>
    <message>
        <source>Conversion has been completed.</source>
        <translation>Die Konvertierung ist abgeschlossen.</translation>
    </message>
    <message>
        <source>Conversion has failed.</source>
        <translation>Die Konvertierung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>None of your files could be converted.</source>
        <translation>Keine Ihrer Dateien konnte konvertiert werden.</translation>
    </message>
    <message>
        <source>The files could not be merged into one PDF file. Each converted file is in the folder under its own name.</source>
        <translation>Die Dateien konnten nicht zu einer PDF-Datei zusammengeführt werden. Jede konvertierte Datei liegt unter ihrem eigenen Namen im Ordner.</translation>
    </message>
    <message>
        <source>%1 of %2 files could not be converted. You can open the folder to view the result.</source>
        <translation>%1 von %2 Dateien konnten nicht konvertiert werden. Sie können den Ordner öffnen, um das Ergebnis anzusehen.</translation>
    </message>
    <message>
        <source>Congratulations to all of your files in the folder, open it to view them!</source>
        <translation>Geschafft! Alle Ihre Dateien liegen im Ordner. Öffnen Sie ihn, um sie anzusehen.</translation>
    </message>
    <message>
        <source>All supported formats (%1)</source>
        <translation>Alle unterstützten Formate (%1)</translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation>Bilder (%1)</translation>
    </message>
    <message>
        <source>Documents (%1)</source>
        <translation>Dokumente (%1)</translation>
    </message>
    <message>
        <source>Ebook (%1)</source>
        <translation>E-Books (%1)</translation>
    </message>
    <message>
        <source>HTML (%1)</source>
        <translation>HTML (%1)</translation>
    </message>
</context>
</TS>
