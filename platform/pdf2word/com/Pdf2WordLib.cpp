#include "platform/pdf2word/com/Pdf2WordLib.h"

const IID LIBID_Pdf2WordLib = {0x4A9D16C6, 0x1C8A, 0x474E, {0x9D, 0xDE, 0x91, 0xB9, 0xA9, 0x3D, 0x9B, 0x68}};
const IID IID_IPdf2Word = {0x99F05E06, 0xA2ED, 0x4C91, {0x87, 0x58, 0xC7, 0x68, 0xFE, 0xD6, 0x1A, 0xFB}};
const IID DIID_IPdf2WordEvents = {0x19E08FB4, 0x6840, 0x4EF0, {0xA2, 0x61, 0xD8, 0x1B, 0xB6, 0xBF, 0x37, 0x76}};

Pdf2WordOptionSetter pdf2WordOptionSetter(int slot)
{
    switch (slot) {
    case 10:
        return &IPdf2Word::put_Option10;
#define PDF2WORD_SETTER_CASE(n) \
    case n:                     \
        return &IPdf2Word::put_Option##n;
        PDF2WORD_OPTION_SLOTS_13_TO_29(PDF2WORD_SETTER_CASE)
#undef PDF2WORD_SETTER_CASE
    default:
        return nullptr;
    }
}

bool isPdf2WordOptionSlot(int slot)
{
    return pdf2WordOptionSetter(slot) != nullptr;
}
