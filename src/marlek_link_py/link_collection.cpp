#include "marlek_link_py/link_collection.hpp"

#include "marlek_link_py/constructed_instance.hpp"
#include "marlek_link_py/link_python_side.hpp"

#include "marlek_link/marlek_link.hpp"
#include "marlek_link/marlek_link_exc.hpp"

namespace {

template <typename Link>
int traverseLink(PyObject* self, visitproc visit, void* arg)
{
    Py_VISIT(Py_TYPE(self));
    const MarlekLink* const link = constructedInstance<Link>(self);
    if (link == nullptr) {
        return 0;
    }
    const auto side = LinkPythonSide::find(*link);
    return side ? side->traverse(visit, arg) : 0;
}

template <typename Link>
int clearLink(PyObject* self)
{
    if (const MarlekLink* const link = constructedInstance<Link>(self)) {
        if (const auto side = LinkPythonSide::find(*link)) {
            side->clear();
        }
    }
    return 0;
}

} // namespace

template <typename Link>
void takePartInCollection(PyHeapTypeObject* heapType)
{
    PyTypeObject* const type = &heapType->ht_type;
    type->tp_flags |= Py_TPFLAGS_HAVE_GC;
    type->tp_traverse = traverseLink<Link>;
    type->tp_clear = clearLink<Link>;
}

template void takePartInCollection<MarlekLink>(PyHeapTypeObject* type);
template void takePartInCollection<MarlekLinkExc>(PyHeapTypeObject* type);
