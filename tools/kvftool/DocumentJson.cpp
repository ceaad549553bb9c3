#include "DocumentJson.h"

#include <QJsonArray>

#include "GraphEditor.h"
#include "GraphLink.h"
#include "GraphNode.h"
#include "Picture.h"

namespace {

QJsonValue Name(const TEnumType& Type, int64_t Value) { return QString::fromLatin1(Type.NameOf(Value)); }

QJsonArray SetNames(const TEnumType& Element, uint64_t Bits) {
  QJsonArray names;
  for (size_t i = 0; i < Element.Names.size() && i < 64; ++i)
    if (Bits & (uint64_t(1) << i)) names.append(QString::fromLatin1(Element.Names[i]));
  return names;
}

// Colours keep their stored bits: system colours read 0xFF0000nn.
QJsonValue ColorValue(TColor Color) { return double(uint32_t(Color)); }

QJsonValue IDOrNull(const TGraphObject* Object) {
  if (!Object) return QJsonValue::Null;
  return double(Object->ID());
}

QJsonObject PenJson(const TPen& Pen) {
  return {{"color", ColorValue(Pen.Color())},
          {"width", Pen.Width()},
          {"style", Name(PenStyleType, Pen.Style())},
          {"mode", Name(PenModeType, Pen.Mode())}};
}

QJsonObject BrushJson(const TBrush& Brush) {
  return {{"color", ColorValue(Brush.Color())}, {"style", Name(BrushStyleType, Brush.Style())}};
}

QJsonObject FontJson(const TFont& Font) {
  return {{"name", Font.Name()},
          {"height", Font.Height()},
          {"charset", int(Font.Charset())},
          {"color", ColorValue(Font.Color())},
          {"style", SetNames(FontStyleType, Font.Style())}};
}

QJsonArray RectJson(const TRect& Rect) { return {Rect.Left, Rect.Top, Rect.Right, Rect.Bottom}; }

void AddNodeFields(const TGraphNode& Node, QJsonObject& Json) {
  Json["left"] = Node.Left();
  Json["top"] = Node.Top();
  Json["width"] = Node.Width();
  Json["height"] = Node.Height();
  Json["alignment"] = Name(AlignmentType, Node.Alignment());
  Json["layout"] = Name(TextLayoutType, Node.Layout());
  Json["margin"] = Node.Margin();
  Json["nodeOptions"] = SetNames(GraphNodeOptionType, Node.NodeOptions());
  const TGraphic* graphic = Node.Background()->Graphic();
  if (graphic)
    Json["background"] = QJsonObject{{"class", QString::fromLatin1(graphic->ClassName())},
                                     {"width", graphic->Width()},
                                     {"height", graphic->Height()}};
  else
    Json["background"] = QJsonValue::Null;
  Json["backgroundMargins"] = RectJson(Node.BackgroundMargins());
}

void AddLinkFields(const TGraphLink& Link, QJsonObject& Json) {
  QJsonArray points;
  for (const TPoint& pt : Link.Polyline()) points.append(QJsonArray{pt.X, pt.Y});
  Json["points"] = points;
  Json["source"] = IDOrNull(Link.Source());
  Json["target"] = IDOrNull(Link.Target());
  Json["beginStyle"] = Name(LinkBeginEndStyleType, Link.BeginStyle());
  Json["beginSize"] = Link.BeginSize();
  Json["endStyle"] = Name(LinkBeginEndStyleType, Link.EndStyle());
  Json["endSize"] = Link.EndSize();
  Json["linkOptions"] = SetNames(GraphLinkOptionType, Link.LinkOptions());
  Json["textPosition"] = Link.TextPosition();
  Json["textSpacing"] = Link.TextSpacing();
}

}  // namespace

QJsonObject ObjectToJson(const TGraphObject& Object) {
  QJsonObject json{{"class", QString::fromLatin1(Object.ClassName())},
                   {"id", double(Object.ID())},
                   {"text", Object.Text()},
                   {"hint", Object.Hint()},
                   {"visible", Object.Visible()},
                   {"tag", Object.Tag()},
                   {"options", SetNames(GraphObjectOptionType, Object.Options())},
                   {"pen", PenJson(*Object.Pen())},
                   {"brush", BrushJson(*Object.Brush())},
                   {"parentFont", Object.ParentFont()},
                   {"hasCustomData", Object.HasCustomData()}};
  if (!Object.ParentFont()) json["font"] = FontJson(*Object.Font());
  if (auto* node = dynamic_cast<const TGraphNode*>(&Object)) AddNodeFields(*node, json);
  if (auto* link = dynamic_cast<const TGraphLink*>(&Object)) AddLinkFields(*link, json);
  return json;
}

QJsonObject DocumentToJson(TGraphEditor& Graph) {
  QJsonArray objects;
  for (TGraphObject* object : Graph.Objects()) objects.append(ObjectToJson(*object));
  return {{"objects", objects}};
}
