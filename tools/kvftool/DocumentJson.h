// A graph's objects as JSON: {"objects": [...]} in Objects order, with
// enumeration and option values by name and colours as 0x00BBGGRR integers.
#pragma once

#include <QJsonObject>

class TGraphEditor;
class TGraphObject;

QJsonObject DocumentToJson(TGraphEditor& Graph);
QJsonObject ObjectToJson(const TGraphObject& Object);
