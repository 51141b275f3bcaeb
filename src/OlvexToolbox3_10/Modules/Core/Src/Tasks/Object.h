#pragma once
// Toolbox classes describe themselves with a static descriptor {class name,
// parent descriptor} instead of compiler type information.
#include "Modules/Core/Src/Memory/ToolboxAlloc.h"

namespace OX_Toolbox {

struct ClassTypeInfo {
  const char* name;
  const ClassTypeInfo* parent;

  bool isA(const ClassTypeInfo* other) const {
    for (const ClassTypeInfo* t = this; t; t = t->parent) {
      if (t == other) return true;
    }
    return false;
  }
};

class Object : public ToolboxObject {
 public:
  static const ClassTypeInfo s_type;
  virtual const ClassTypeInfo* getType() const { return &s_type; }
  virtual ~Object() = default;
};

class Event : public Object {
 public:
  static const ClassTypeInfo s_type;
  const ClassTypeInfo* getType() const override { return &s_type; }
};

}  // namespace OX_Toolbox
