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

void AnyListHeader::Read(CByteReader& in)
{
    size_t start = in.Position();
    type = in.ReadU8();
    in.Seek(start);
    switch (type) {
    case LTC_SYSDATA:
    case LTC_STANDARD_TEXTS:
    case LTC_USER_SYMBOLS: {
        ListHeader h;
        h.Read(in);
        form = HeaderForm::Short;
        length = h.length;
        break;
    }
    case LTC_PICTURE:
    case LTC_TEXTGROUP:
    case LTC_TEXTGROUP_PROTOCOL:
    case LTC_PROTOCOL:
    case LTC_STEPSEQUENCE: {
        ListHeaderEx h;
        h.Read(in);
        form = HeaderForm::Long;
        length = h.length;
        identifier = h.identifier;
        name = h.name;
        break;
    }
    case LTC_FIXED_SYMBOLS:
        in.ReadU8();
        form = HeaderForm::TypeAndLength;
        length = in.ReadU16();
        break;
    default:
        CFileException::ThrowGeneric("invalid list type");
    }
}
