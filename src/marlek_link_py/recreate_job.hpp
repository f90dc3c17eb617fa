#pragma once

// The job that produced a dataset, built anew from the parameters and the
// metadata recorded in the dataset's job information.

#include <pybind11/pybind11.h>

class DcDataset;
class EisDataset;

// A new job of the dataset's DC kind, or None when the job type is not one
// of the DC kinds with a Python class or the parameters do not belong to it.
pybind11::object recreateDcJob(const DcDataset& dataset);
// The same for the impedance kinds.
pybind11::object recreateEisJob(const EisDataset& dataset);
