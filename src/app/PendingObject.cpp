#include "PendingObject.h"

#include "Picture.h"
#include "PlanObjects.h"

std::unique_ptr<TPendingObject> TPendingObject::Label(TPaletteItem Button, const QString& Text) {
  std::unique_ptr<TPendingObject> pending(new TPendingObject(Button));
  pending->fText = Text;
  return pending;
}

std::unique_ptr<TPendingObject> TPendingObject::Picture(TPaletteItem Button, const QString& FileName) {
  std::unique_ptr<TPendingObject> pending(new TPendingObject(Button));
  pending->fPicture = std::make_unique<TPicture>();
  pending->fPicture->LoadFromFile(FileName);
  return pending;
}

TPendingObject::TPendingObject(TPaletteItem Button) : fButton(Button) {}

TPendingObject::~TPendingObject() = default;

TGraphNode* TPendingObject::Place(TGraphEditor* Graph, const TPoint& TopLeft) const {
  TGraphNode* node = fPicture ? static_cast<TGraphNode*>(TZyImageNode::Create2(Graph, *fPicture))
                              : static_cast<TGraphNode*>(TZyTextBoxNode::Create2(Graph, fText));
  node->SetBounds(TopLeft.X, TopLeft.Y, node->Width(), node->Height());
  return node;
}
