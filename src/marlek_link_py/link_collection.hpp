#pragma once

// The collector's view of a link's Python object (MarlekLink, MarlekLinkExc
// and Python subclasses of either): the handler objects and the status
// callable its link holds, so that a callback that refers back to its link
// makes a cycle the collector can see and break.

#include <Python.h>

class MarlekLink;
class MarlekLinkExc;

// For py::custom_type_setup of the class bound for Link.
template <typename Link>
void takePartInCollection(PyHeapTypeObject* type);

extern template void takePartInCollection<MarlekLink>(PyHeapTypeObject* type);
extern template void takePartInCollection<MarlekLinkExc>(PyHeapTypeObject* type);
