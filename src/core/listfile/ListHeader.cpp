#include "listfile/ListHeader.h"

#include "listfile/ByteStream.h"
#include "util/FileException.h"

void ListHeader::Read(CByteReader& in)
{
    type = in.ReadU8();
    length = in.ReadU16();
    project = in.ReadShortString();
}

void ListHeader::Write(CByteWriter& out) const
{
    out.WriteU8(type);
    out.WriteU16(length);
    out.WriteShortString(project);
}

void ListHeaderEx::Read(CByteReader& in)
{
    type = in.ReadU8();
    length = in.ReadU16();
    project = in.ReadShortString();
    identifier = in.ReadChars(3);
    name = in.ReadShortString();
}

void ListHeaderEx::Write(CByteWriter& out) const
{
    if (identifier.size() != 3) CFileException::ThrowGeneric("identifier must have 3 characters");
    out.WriteU8(type);
    out.WriteU16(length);
    out.WriteShortString(project);
    out.WriteChars(identifier);
    out.WriteShortString(name);
}
