// Texts describing objects through their published properties
// (TPersistent::Properties(), ancestors' first, nested objects followed).
//
// Property dump, one line per property, each starting with two blanks per
// nesting level:
//   "  Name = 12"                integer
//   "  Name = psSolid"           enumeration, Boolean ("True"/"False")
//   "  Name = 'text'"            text
//   "+ Name = [TFontStyles]"     set (element type name + "s"), then per
//   "    fsBold = True"          possible element: four blanks, name, value
//   "* Pen = <TPen>"             nested object; its properties follow one
//   "    Pen.Color = 0"          level deeper, named with a dotted prefix
//   "  Name = <TPersistent> (not assigned)"   nested object missing
// A nested dump that fails adds "*** Exception triggered ***"; a dump that
// fails elsewhere ends with "*** Exception ***". Nesting stops at 16 levels,
// so an object that contains itself cannot loop. Lines end with "\r\n"
// between them.
#pragma once

#include <QString>
#include <span>

#include "Persistent.h"

QString PropertyDump(const TPersistent& Object);

// "Object: $<address>\r\n" + property dump; without "$" when WithDollar is false.
QString ObjectText(const TPersistent* Object, bool WithDollar);

// "Collection: $<address> <class>", "  Count = n", then per item an empty
// line, "  object: <class>", "    Index = i", its property dump one level
// deep and "  end"; finally "end".
QString CollectionText(const void* Address, const char* ClassName, std::span<const TPersistent* const> Items);

// The object's textual stream form: "object <class>", one line per stored
// property whose value differs from its default ("  Pen.Color = clRed",
// texts quoted, sets as "[fsBold, fsItalic]"), then "end"; or
// "Component is nil.".
QString ComponentText(const TPersistent* Component);
