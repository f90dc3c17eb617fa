// The module's entry point and body: builds the whole Python interface in one
// fixed order. Each step is one binding definition (init_wrap.hpp); a family
// of classes joins the module by adding its call at its place below.

#include "marlek_link_py/init_wrap.hpp"
#include "marlek_link_py/link_python_side.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;

PYBIND11_MODULE(_marlek_link, m, py::multiple_interpreters::not_supported())
{
    // The library's threads, its exit hook and the gate they pass belong to
    // the process, and so to one interpreter: a second one would close the
    // gate for both when it ends. Isolated interpreters are refused by the
    // declaration above, those sharing the main one's lock here.
    if (PyInterpreterState_Get() != PyInterpreterState_Main()) {
        throw py::import_error("marlek_link can only be imported in the main interpreter");
    }

    // Docstrings, generated signatures and enumeration member lists are shown;
    // the previous settings come back when the body ends.
    py::options options;
    options.enable_user_defined_docstrings();
    options.enable_function_signatures();
    options.enable_enum_members_docstring();

    m.doc() = "marlek_link library enabling programmatic control of Marlek TQ5 potentiostats";
    init_test_functions(m);

    // xml: the file-format classes, in this order: format versions, the
    // serializable base, imported files, file info and measurements; the
    // exporter; the importer.
    py::module_ xml = m.def_submodule("xml", "Submodule with xml utilities.");
    init_xml_wrap(xml);
    init_xml_exporter_wrap(xml);
    init_xml_importer_wrap(xml);

    // Top level, in this order: the link; the enumerations; the error
    // classes; the datasets and the snapshot importer; the hardware
    // information; the job information; the hardware settings and the
    // settings; the job base, which every job class names as its Python base;
    // the user hardware settings; discovery.
    init_link_job_wrap(m);
    init_enums(m);
    init_error_wrap(m);
    init_dataset_wrap(m);
    init_dc_dataset_wrap(m);
    init_eis_dataset_wrap(m);
    init_mrb_importer_wrap(m);
    init_hardware_info_wrap(m);
    init_job_info_wrap(m);
    init_hardware_settings_wrap(m);
    init_settings_wrap(m);
    init_abstract_measurement_job_wrap(m);
    init_user_hardware_settings_wrap(m);
    init_discovery_wrap(m);

    // control: the control and query jobs, with the potentiostat state and
    // the switch-on jobs among them.
    py::module_ control = m.def_submodule("control", "Submodule with control jobs.");
    init_hardware_info_job_wrap(control);
    init_potentiostat_state_wrap(control);
    init_hardware_jobs_wrap(control);
    init_set_hardware_settings_job_wrap(control);
    init_led_color_wrap(control);
    init_switch_on_wrap(control);
    init_control_jobs_wrap(control);
    init_hardware_property_jobs_wrap(control);

    // meas: the impedance jobs, then the DC jobs, then the wave jobs; its
    // child stop holds the stop conditions.
    py::module_ meas = m.def_submodule("meas", "Submodule with measurement jobs.");
    init_eis_wrap(meas);
    init_eis_multisine_wrap(meas);
    init_geis_va_wrap(meas);
    init_dc_job_wrap(meas);
    init_wave_wrap(meas);
    py::module_ stop = meas.def_submodule("stop", "Submodule with measurement jobs.");
    init_stop_conditions_wrap(stop);

    // calibration: the calibration jobs, then the service jobs.
    py::module_ calibration = m.def_submodule("calibration", "Submodule with calibration jobs.");
    init_calibrate_wrap(calibration);
    init_set_calibration_data_wrap(calibration);
    init_get_calibration_data_wrap(calibration);
    init_calibration_service_jobs_wrap(calibration);

    // Links still open when the interpreter exits close while it is intact,
    // before its finalization would end their threads inside a callback.
    py::module_::import("atexit").attr("register")(py::cpp_function(&LinkPythonSide::closeEveryLinkAtExit));
}
