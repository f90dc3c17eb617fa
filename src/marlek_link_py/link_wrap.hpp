#pragma once

// The pieces of init_link_job_wrap: the classes it registers and the method
// groups of MarlekLink, each in a file of its own.

#include "marlek_json_common/json_common/logging/error_object.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/typing.h>

#include <expected>
#include <memory>
#include <utility>

class MarlekLink;

// Destroys a core link that Python owned: the status callback goes while the
// interpreter lock is held; the connection closes and the link goes without
// it (the link's threads may be waiting for it inside a Python callback),
// the callables the link holds taking it as they are let go.
// Python classes of links derived from MarlekLink hold them the same way
// (std::unique_ptr<Derived, LinkDeleter>).
struct LinkDeleter {
    void operator()(MarlekLink* link) const;
};

using LinkHolder = std::unique_ptr<MarlekLink, LinkDeleter>;
using LinkClass = pybind11::class_<MarlekLink, LinkHolder>;

void register_link_exception(pybind11::module_& module);
void register_event_handler_class(pybind11::module_& module);
void register_device_info_classes(pybind11::module_& module);
void register_resource_class(pybind11::module_& module);
void register_tls_classes(pybind11::module_& module);
// MarlekLinkExc, after MarlekLink, its Python base.
void register_link_exc_class(pybind11::module_& module);

// Construction, connection, settings and status.
void add_link_connection_methods(LinkClass& cls);
// Jobs, results, settings and the device queries.
void add_link_job_methods(LinkClass& cls);
// The status callback and the event handlers.
void add_link_event_methods(LinkClass& cls);
// The workstation's stored resources.
void add_link_resource_methods(LinkClass& cls);
// The TLS trust settings and the last certificate check.
void add_link_tls_methods(LinkClass& cls);

// A value-or-error result as Python sees it: the value, or the ErrorObject.
// Converted with the interpreter lock held.
template <typename T>
pybind11::typing::Union<T, ErrorObject> valueOrError(std::expected<T, ErrorObject>&& result)
{
    if (result) {
        return pybind11::cast(std::move(*result));
    }
    return pybind11::cast(std::move(result.error()));
}
