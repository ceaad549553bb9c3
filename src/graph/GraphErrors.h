// The errors the graph control itself raises; their messages are the
// control's own texts.
#pragma once

#include "Exceptions.h"

// "Invalid stream content": a document or clipboard stream the control
// cannot read.
class EGraphStreamError : public Exception {
 public:
  using Exception::Exception;
};

// "Cannot create link with the specified parameters" and other requests
// the control refuses.
class EGraphInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

// "Invalid point index. (%d)": a link's point index out of range.
class EPointListError : public Exception {
 public:
  using Exception::Exception;
};
