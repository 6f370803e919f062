#include "PictureDocument.h"

TPictureDocument::TPictureDocument(TModal& modal, TDocumentHost& host) : Modal(modal), Host(host) {}
