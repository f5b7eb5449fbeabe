#pragma once

// The entry of the conversion engine library, which the component loads when it is created.
// Plain C types only: the library is loaded at run time and keeps everything else hidden.

#ifdef __cplusplus
extern "C" {
#endif

enum QpPdf2WordFormat {
    QP_PDF2WORD_DOCX = 1,
    QP_PDF2WORD_ODT = 2,
    QP_PDF2WORD_HTML = 3,
    QP_PDF2WORD_TXT = 4,
};

// The two roads to a document: the layout road writes what the pages show; the plain road also
// the text drawn invisibly (a scan's recognised text).
enum QpPdf2WordMode {
    QP_PDF2WORD_LAYOUT = 0,
    QP_PDF2WORD_PLAIN = 2,
};

enum QpPdf2WordResult {
    QP_PDF2WORD_OK = 0,
    QP_PDF2WORD_STOPPED = 1,          // the progress callback answered -1
    QP_PDF2WORD_OPEN_FAILED = 2,      // missing, damaged, the password does not open it, or a page
                                      // could not be read (damaged, over a page's time or memory)
    QP_PDF2WORD_RANGE_INVALID = 3,    // the pages are not all in the document
    QP_PDF2WORD_LAYOUT_LOST_TEXT = 4, // the layout road left out text the pages hold
    QP_PDF2WORD_LAYOUT_FAILED = 5,    // the layout road's writer failed (no longer answered)
    QP_PDF2WORD_OUTPUT_FAILED = 6,    // the output file could not be written
    QP_PDF2WORD_BAD_REQUEST = 7,      // an unknown format or mode, a missing path
};

// Called after each page; current counts the pages done from the range's start (1 .. total).
// While one page takes long it is called again about every half second with current unchanged
// (0 during the first page), so that a stop does not wait for the page. Returning -1 stops the
// conversion.
typedef int (*QpPdf2WordProgress)(void* context, int current, int total);

// Called with a line for the program's log (a figure left out, text that could not be
// recognised); the conversion goes on.
typedef void (*QpPdf2WordNote)(void* context, const char* text);

typedef struct QpPdf2WordJob
{
    const char* source;   // UTF-8 paths and password
    const char* password; // empty or null for none
    const char* output;   // written only when everything succeeded; never left half-written
    int format;           // QpPdf2WordFormat
    int firstPage;        // 1-based, inclusive
    int lastPage;
    int mode;                    // QpPdf2WordMode
    QpPdf2WordProgress progress; // may be null
    void* progressContext;
    // Text in fonts without a usable Unicode map is recognised from its glyphs with Tesseract:
    // its language data folder and languages ("eng+deu"). Null or empty: such text is left out.
    const char* tessdata;
    const char* languages;
    QpPdf2WordNote note; // may be null; called with progressContext
    char message[512];   // out: what went wrong, UTF-8
    int pagesDone;       // out
} QpPdf2WordJob;

typedef int (*QpPdf2WordConvert)(QpPdf2WordJob* job);

#define QP_PDF2WORD_ENTRY "qp_pdf2word_convert"

// Converts the job; a QpPdf2WordResult. Safe to call from several threads at once.
int qp_pdf2word_convert(QpPdf2WordJob* job);

#ifdef __cplusplus
}
#endif
