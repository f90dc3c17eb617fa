#pragma once

// The job that produced a dataset, built anew from the parameters and the
// metadata recorded in the dataset's job information.

#include "marlek_link_py/named_type.hpp"

#include <pybind11/pybind11.h>
#include <pybind11/typing.h>

class DcDataset;
class EisDataset;

// The job classes are registered after the datasets, so signatures name
// them by text.
using RecreatedDcJob = pybind11::typing::Optional<
    NamedType<"_marlek_link.meas.CvJob | _marlek_link.meas.OcvJob | _marlek_link.meas.DpvJob | "
              "_marlek_link.meas.NpvJob | _marlek_link.meas.SwvJob | _marlek_link.meas.PogaJob | "
              "_marlek_link.meas.RampJob | _marlek_link.meas.WaveJob | _marlek_link.meas.WaveFileJob | "
              "_marlek_link.meas.FastCyclingJob | _marlek_link.meas.SteadyStairsJob">>;
using RecreatedEisJob = pybind11::typing::Optional<
    NamedType<"_marlek_link.meas.EisGenerateJob | _marlek_link.meas.EisFrequencyTableJob | "
              "_marlek_link.meas.EisMultisineTableJob | _marlek_link.meas.EisMultisineGenerateJob | "
              "_marlek_link.meas.GeisVaGenerateJob | _marlek_link.meas.GeisVaFrequencyTableJob">>;

// A new job of the dataset's DC kind, or None when the job type is not one
// of the DC kinds with a Python class or the parameters do not belong to it.
RecreatedDcJob recreateDcJob(const DcDataset& dataset);
// The same for the impedance kinds.
RecreatedEisJob recreateEisJob(const EisDataset& dataset);
