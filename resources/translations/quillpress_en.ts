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
    <name>ConversionTab</name>
    <message>
        <source>All files:</source>
        <translation>All files:</translation>
    </message>
    <message>
        <source>Delete all</source>
        <translation>Delete all</translation>
    </message>
    <message>
        <source>Save to folder:</source>
        <translation>Save to folder:</translation>
    </message>
    <message>
        <source>CONVERT</source>
        <translation>CONVERT</translation>
    </message>
    <message>
        <source>Select one or more files to open</source>
        <translation>Select one or more files to open</translation>
    </message>
    <message>
        <source>Select destination folder</source>
        <translation>Select destination folder</translation>
    </message>
    <message>
        <source>OPEN FOLDER</source>
        <translation>OPEN FOLDER</translation>
    </message>
    <message>
        <source>The operation was cancelled before any file was written.</source>
        <translation>The operation was cancelled before any file was written.</translation>
    </message>
    <message>
        <source>The operation was cancelled. You can open the folder to view the result.</source>
        <translation>The operation was cancelled. You can open the folder to view the result.</translation>
    </message>
    <message>
        <source>The folder %1 cannot be created or written to. Choose another folder to save your files in.</source>
        <translation>The folder %1 cannot be created or written to. Choose another folder to save your files in.</translation>
    </message>
    <message>
        <source>The folders %1 cannot be created or written to. Choose another folder to save your files in.</source>
        <translation>The folders %1 cannot be created or written to. Choose another folder to save your files in.</translation>
    </message>
    <message>
        <source>Can not save files</source>
        <translation>Can not save files</translation>
    </message>
</context>
<context>
    <name>DocumentViewer</name>
    <message>
        <source>%1 - PDF Converter</source>
        <translation>%1 - PDF Converter</translation>
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
    <name>FromPDFDelegate</name>
    <message>
        <source>Enter</source>
        <translation>Enter</translation>
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
        <translation>All (%1)</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Filename</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Pages</translation>
    </message>
    <message>
        <source>To</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Split</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
</context>
<context>
    <name>FromPDFView</name>
    <message>
        <source>Split all</source>
        <translation>Split all</translation>
    </message>
    <message>
        <source>Files (*.pdf)</source>
        <translation>Files (*.pdf)</translation>
    </message>
    <message>
        <source>Add PDF File</source>
        <translation>Add PDF File</translation>
    </message>
    <message>
        <source>Can not open file</source>
        <translation>Can not open file</translation>
    </message>
    <message>
        <source>The password for %1 is incorrect</source>
        <translation>The password for %1 is incorrect</translation>
    </message>
    <message>
        <source>These files could not be opened as PDF documents and were not added: %1</source>
        <translation>These files could not be opened as PDF documents and were not added: %1</translation>
    </message>
    <message>
        <source>Convert complete</source>
        <translation>Convert complete</translation>
    </message>
    <message>
        <source>Convert failed</source>
        <translation>Convert failed</translation>
    </message>
    <message>
        <source>None of your files could be converted.</source>
        <translation>None of your files could be converted.</translation>
    </message>
    <message>
        <source>%1 of %2 files could not be converted. You can open the folder to view the result.</source>
        <translation>%1 of %2 files could not be converted. You can open the folder to view the result.</translation>
    </message>
    <message>
        <source>All of your files has been converted. You can open the folder to view the result.</source>
        <translation>All of your files has been converted. You can open the folder to view the result.</translation>
    </message>
    <message>
        <source>This file appears to be a scanned PDF. We recommended to use OCR for conversion.</source>
        <translation>This file appears to be a scanned PDF. We recommended to use OCR for conversion.</translation>
    </message>
    <message>
        <source>UCE OCR</source>
        <translation>UCE OCR</translation>
    </message>
    <message>
        <source>WITHOUT OCR</source>
        <translation>WITHOUT OCR</translation>
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
    <name>Page</name>
    <message>
        <source>Page %1</source>
        <translation>Page %1</translation>
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
    <name>PageRangesView</name>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>CLOSE</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
    </message>
    <message>
        <source>To</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Clear all</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>Choose page ranges. Total pages in document: %1</source>
        <translation>Choose page ranges. Total pages in document: %1</translation>
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
<context>
    <name>TextDocument</name>
    <message>
        <source>Go to page %1</source>
        <translation>Go to page %1</translation>
    </message>
</context>
<context>
    <name>ToPDFAlgorithm</name>
    <message>
        <source>%1 of %2 converting</source>
        <translation>%1 of %2 converting</translation>
    </message>
</context>
<context>
    <name>ToPDFModel</name>
    <message>
        <source>Filename</source>
        <translation>Filename</translation>
    </message>
    <message>
        <source>From</source>
        <translation>From</translation>
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
        <translation>Scale to fit</translation>
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
        <translation>Fit image</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>Small (1 cm)</source>
        <translation>Small (1 cm)</translation>
    </message>
    <message>
        <source>Big (2 cm)</source>
        <translation>Big (2 cm)</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>File settings</source>
        <translation>File settings</translation>
    </message>
    <message>
        <source>Layout settings</source>
        <translation>Layout settings</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Filename</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Publisher</source>
        <translation>Publisher</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Image Size</source>
        <translation>Image Size</translation>
    </message>
    <message>
        <source>Page Size</source>
        <translation>Page Size</translation>
    </message>
    <message>
        <source>Margin</source>
        <translation>Margin</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Rotate</source>
        <translation>Rotate</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>%1 - PDF Settings</source>
        <translation>%1 - PDF Settings</translation>
    </message>
    <message>
        <source>For ALL - PDF Settings</source>
        <translation>For ALL - PDF Settings</translation>
    </message>
    <message>
        <source>General - PDF Settings</source>
        <translation>General - PDF Settings</translation>
    </message>
    <message>
        <source>SAVE FILE SETTINGS</source>
        <translation>SAVE FILE SETTINGS</translation>
    </message>
    <message>
        <source>CANCEL</source>
        <translation>CANCEL</translation>
    </message>
    <message>
        <source>CLOSE</source>
        <translation>CLOSE</translation>
    </message>
    <message>
        <source>APPLY LAYOUT SETTINGS</source>
        <translation>APPLY LAYOUT SETTINGS</translation>
    </message>
    <message>
        <source>Validation error</source>
        <comment>msg_validate_title</comment>
        <translation>Validation error</translation>
    </message>
    <message>
        <source>Check input field</source>
        <comment>msg_validate_message</comment>
        <translation>Check input field</translation>
    </message>
    <message>
        <source>file settings</source>
        <translation>file settings</translation>
    </message>
    <message>
        <source>layout settings</source>
        <translation>layout settings</translation>
    </message>
    <message>
        <source>The %1 have been modified</source>
        <translation>The %1 have been modified</translation>
    </message>
    <message>
        <source>Save changes?</source>
        <translation>Save changes?</translation>
    </message>
    <message>
        <source>YES</source>
        <translation>YES</translation>
    </message>
    <message>
        <source>NO</source>
        <translation>NO</translation>
    </message>
</context>
<context>
    <name>ToPDFView</name>
    <message>
        <source>Add file</source>
        <comment>for drop area</comment>
        <translation>Add file</translation>
    </message>
    <message>
        <source>Merge all in one PDF file</source>
        <translation>Merge all in one PDF file</translation>
    </message>
    <message>
        <source>merged_%1</source>
        <translation>merged_%1</translation>
    </message>
    <message>
        <source>Can not open file</source>
        <translation>Can not open file</translation>
    </message>
    <message>
        <source>These files could not be found and were not added: %1</source>
        <translation>These files could not be found and were not added: %1</translation>
    </message>
    <message>
        <source>Conversion has been completed.</source>
        <translation>Conversion has been completed.</translation>
    </message>
    <message>
        <source>Conversion has failed.</source>
        <translation>Conversion has failed.</translation>
    </message>
    <message>
        <source>None of your files could be converted.</source>
        <translation>None of your files could be converted.</translation>
    </message>
    <message>
        <source>The files could not be merged into one PDF file. Each converted file is in the folder under its own name.</source>
        <translation>The files could not be merged into one PDF file. Each converted file is in the folder under its own name.</translation>
    </message>
    <message>
        <source>%1 of %2 files could not be converted. You can open the folder to view the result.</source>
        <translation>%1 of %2 files could not be converted. You can open the folder to view the result.</translation>
    </message>
    <message>
        <source>Congratulations to all of your files in the folder, open it to view them!</source>
        <translation>Congratulations to all of your files in the folder, open it to view them!</translation>
    </message>
    <message>
        <source>All supported formats (%1)</source>
        <translation>All supported formats (%1)</translation>
    </message>
    <message>
        <source>Images (%1)</source>
        <translation>Images (%1)</translation>
    </message>
    <message>
        <source>Documents (%1)</source>
        <translation>Documents (%1)</translation>
    </message>
    <message>
        <source>Ebook (%1)</source>
        <translation>Ebook (%1)</translation>
    </message>
    <message>
        <source>HTML (%1)</source>
        <translation>HTML (%1)</translation>
    </message>
</context>
</TS>
