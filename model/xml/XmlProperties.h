// Declaring typed node classes from one-line property tables (X-macros). A binding writes
// each schema type as a table
//
//   #define VELKAR_V7M_ZakupCtrl(P)  P(Count, LiczbaWierszyZakupow)  P(Amount, PodatekNaliczony)
//
// and declares its class with VELKAR_XML_TYPE(JPK_ZakupCtrl, xml::TXMLNode, "ZakupCtrl",
// VELKAR_V7M_ZakupCtrl), which gives TXMLJPK_ZakupCtrl with the alias IXMLJPK_ZakupCtrl:
// the getters in table order, then a setter Set_<name> per value property.
//
// Property kinds (the type words of the element tables):
//   Text, Date         std::string        the element's text, written unchanged
//   Integer            int32_t            decimal digits
//   Count              int64_t            decimal digits
//   Amount             double             read by XmlStrToFloat, written by XmlFloatToStr
//   AmountStrict       double             read strictly with '.', written by XmlFloatToStr
//   Flag               bool               "true" / "false" (a number reads as non-zero)
//   Attribute          std::string        the attribute's text
//   Etd, name, pos     std::string        an element of the common-definitions namespace,
//                                         written as "etd:name"; read at child position
//                                         `pos` (checked by name), or by name when pos < 0
//   Element, name, T   TXML<T>            the child element, typed (getter only)
//   List, name, T      TXML<T>List        the repeating child elements (getter only)
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/xml/XmlNode.h"
#include "model/xml/XmlValues.h"

#define VELKAR_XML_GETTER(kind, ...) VELKAR_XML_GET_##kind(__VA_ARGS__)
#define VELKAR_XML_SETTER(kind, ...) VELKAR_XML_SET_##kind(__VA_ARGS__)

#define VELKAR_XML_GET_Text(name) \
  std::string name() const { return ReadText(Child(#name)); }
#define VELKAR_XML_SET_Text(name) \
  void Set_##name(std::string_view v) const { WriteText(Child(#name), v); }
#define VELKAR_XML_GET_Date(name) VELKAR_XML_GET_Text(name)
#define VELKAR_XML_SET_Date(name) VELKAR_XML_SET_Text(name)

#define VELKAR_XML_GET_Integer(name) \
  int32_t name() const { return ReadInt(Child(#name)); }
#define VELKAR_XML_SET_Integer(name) \
  void Set_##name(int32_t v) const { WriteInt(Child(#name), v); }

#define VELKAR_XML_GET_Count(name) \
  int64_t name() const { return ReadInt64(Child(#name)); }
#define VELKAR_XML_SET_Count(name) \
  void Set_##name(int64_t v) const { WriteInt(Child(#name), v); }

#define VELKAR_XML_GET_Amount(name) \
  double name() const { return ReadFloat(Child(#name)); }
#define VELKAR_XML_SET_Amount(name) \
  void Set_##name(double v) const { WriteFloat(Child(#name), v); }

#define VELKAR_XML_GET_AmountStrict(name) \
  double name() const { return ReadFloatStrict(Child(#name)); }
#define VELKAR_XML_SET_AmountStrict(name) VELKAR_XML_SET_Amount(name)

#define VELKAR_XML_GET_Flag(name) \
  bool name() const { return ReadBool(Child(#name)); }
#define VELKAR_XML_SET_Flag(name) \
  void Set_##name(bool v) const { WriteText(Child(#name), ::velkar::xml::XmlBoolToStr(v)); }

#define VELKAR_XML_GET_Attribute(name) \
  std::string name() const { return ReadAttribute(#name); }
#define VELKAR_XML_SET_Attribute(name) \
  void Set_##name(std::string_view v) const { WriteAttribute(#name, v); }

#define VELKAR_XML_GET_Etd(name, position) \
  std::string name() const { return ReadText(EtdChild(#name, position)); }
#define VELKAR_XML_SET_Etd(name, position) \
  void Set_##name(std::string_view v) const { WriteText(EtdChild(#name, position), v); }

#define VELKAR_XML_GET_Element(name, type) \
  TXML##type name() const { return TXML##type(Wrap(Child(#name)), ::velkar::xml::kUnchecked); }
#define VELKAR_XML_SET_Element(name, type)

#define VELKAR_XML_GET_List(name, type) \
  TXML##type##List name() const { return TXML##type##List(*this); }
#define VELKAR_XML_SET_List(name, type)

#define VELKAR_XML_NO_PROPERTIES(P)

// The node class TXML<Name> (alias IXML<Name>) for elements named `tag`, derived from
// `Base` (xml::TXMLNode or another typed class), with the properties of `TABLE`.
#define VELKAR_XML_TYPE(Name, Base, tag, TABLE)                                         \
  class TXML##Name : public Base {                                                      \
   public:                                                                              \
    static constexpr const char* kTag = tag;                                            \
    TXML##Name() = default;                                                             \
    /* Checked cast of a generic node: another element raises EIntfCastError. */        \
    explicit TXML##Name(const ::velkar::xml::TXMLNode& node)                            \
        : Base(node, ::velkar::xml::kUnchecked) {                                       \
      CheckCast(kTag, "IXML" #Name);                                                    \
    }                                                                                   \
    TXML##Name(const ::velkar::xml::TXMLNode& node, ::velkar::xml::UncheckedTag)        \
        : Base(node, ::velkar::xml::kUnchecked) {}                                      \
    TABLE(VELKAR_XML_GETTER)                                                            \
    TABLE(VELKAR_XML_SETTER)                                                            \
  };                                                                                    \
  using IXML##Name = TXML##Name

// The list class TXML<Item>List (alias IXML<Item>List) of the repeating element TXML<Item>.
#define VELKAR_XML_LIST_TYPE(Item)                                                      \
  class TXML##Item##List : public ::velkar::xml::TXMLTypedList<TXML##Item> {            \
   public:                                                                              \
    TXML##Item##List() = default;                                                       \
    explicit TXML##Item##List(const ::velkar::xml::TXMLNode& parent)                    \
        : ::velkar::xml::TXMLTypedList<TXML##Item>(parent) {}                           \
  };                                                                                    \
  using IXML##Item##List = TXML##Item##List
