#pragma once

#include "fuzz/harness.h"

namespace lumivert::fuzz {

// The bodies of the harnesses, one for each input the program reads.

// A picture file: pic/<n>.jpg converted into the picture regions, as the batch does.
void convertPictureFile(Input input);
// A page file src/Page<n>.str read into the page list, saved and read again.
void readPageFile(Input input);
// A font definition file src/Font<n>.str read into the font table, edited, saved, read again.
void readFontFile(Input input);
// The image store work/sdata.tmp loaded and saved; see image_store_body.cpp for the input.
void loadImageStore(Input input);
// GBK text converted to and from UTF-8, split into lines and joined from pieces.
void convertGbkText(Input input);
// The pages region built from page rows, one row for each line of the input.
void buildPages(Input input);
// The command line's arguments, separated by zero bytes, run in a folder of their own.
void runArguments(Input input);
// Bytes from the module arriving over a pseudo-terminal; see serial_receive_body.cpp.
void receiveModuleBytes(Input input);
// The upload journal work/upload.journal read, written and read again.
void readUploadJournal(Input input);

} // namespace lumivert::fuzz
