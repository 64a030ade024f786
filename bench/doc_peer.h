// The peer of the expander and the packer: Debian's txt2pdbdoc, run as a program on files of
// the book's text in a folder of its own.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct DocPeer {
    std::string folder; // temporary; removed by DocPeerRemove
};

// A new temporary folder for the peer's files; empty folder on failure.
DocPeer DocPeerCreate();
void DocPeerRemove(DocPeer& peer);

// Packs `text` with txt2pdbdoc into NAME.pdb in the folder. Returns the bytes of its packed
// text records (the document's own header record and the database's headers not counted), or
// 0 when txt2pdbdoc failed.
size_t DocPeerPack(const DocPeer& peer, const std::string& name, const std::string& text);

// Whether `txt2pdbdoc -d NAME.pdb` decodes the document to exactly `expected`.
bool DocPeerDecodesTo(const DocPeer& peer, const std::string& name, const std::string& expected);

// Seconds of user time that one `txt2pdbdoc -d NAME.pdb` took to decode the document to
// /dev/null; negative when it failed.
double DocPeerDecodeSeconds(const DocPeer& peer, const std::string& name);
