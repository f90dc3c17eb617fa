// The job kinds whose parameters job information can give back, registered
// once when the factory is first used. Every other job name (reboot,
// get_hardware_info, get_hardware_property, set_date_time, calibrate, ...)
// gets no parameter object.

#include "marlek_link_json/jobs/ac/jobs/impedance_jobs.hpp"
#include "marlek_link_json/jobs/common/jobparameter_factory.hpp"
#include "marlek_link_json/jobs/common/jobparameter_registration.hpp"
#include "marlek_link_json/jobs/control/jobs/beep/beepjob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_adc_state/get_adc_statejob.hpp"
#include "marlek_link_json/jobs/control/jobs/get_potentiostat_state/get_potentiostat_statejob.hpp"
#include "marlek_link_json/jobs/control/jobs/measure_integral/measure_integraljob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_active_current_ranges/set_active_current_rangesjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_active_gains/set_active_gainsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_bias/set_biasjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_cable_options/set_cable_optionsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_firmware_update/set_firmware_updatejob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_property/set_hardware_propertyjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_hardware_settings/set_hardware_settingsjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_led_color/set_led_colorjob.hpp"
#include "marlek_link_json/jobs/control/jobs/set_voltage_range/set_voltage_rangejob.hpp"
#include "marlek_link_json/jobs/control/jobs/sleep/sleepjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_off/switch_offjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on/switch_onjob.hpp"
#include "marlek_link_json/jobs/control/jobs/switch_on_quick/switch_on_quickjob.hpp"
#include "marlek_link_json/jobs/dc/jobs/dcmeasurementjobs.hpp"

#include <boost/json.hpp>

JobParameterFactory::JobParameterFactory()
{
    registerBuilderInFactory<AcMeasurementJob<EisParametersGenerate, &JobNames::EIS_GENERATE_JOB_NAME>>(this);
    registerBuilderInFactory<AcMeasurementJob<EisParametersFrequencyTable, &JobNames::EIS_TABLE_JOB_NAME>>(this);
    registerBuilderInFactory<AcMeasurementJob<EisMultiSineTable, &JobNames::EIS_MULTISINE_TABLE_JOB_NAME>>(this);
    registerBuilderInFactory<
        AcMeasurementJob<EisMultisineParametersGenerate, &JobNames::EIS_MULTISINE_GENERATE_JOB_NAME>>(this);
    registerBuilderInFactory<AcMeasurementJob<GeisVaParametersGenerate, &JobNames::GEIS_VA_GENERATE_JOB_NAME>>(this);
    registerBuilderInFactory<AcMeasurementJob<GeisVaParametersFrequencyTable, &JobNames::GEIS_VA_TABLE_JOB_NAME>>(
        this);
    registerBuilderInFactory<DcMeasurementJob<AcCvParameters, &JobNames::AC_CV_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<CvParameters, &JobNames::CV_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<FastCyclingParameters, &JobNames::FAST_CYCLING_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<DpvParameters, &JobNames::DPV_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<NpvParameters, &JobNames::NPV_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<OcvParameters, &JobNames::OCV_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<PogaParameters, &JobNames::POGA_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<RampParameters, &JobNames::RAMP_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<SteadyStairsParameters, &JobNames::STEADYSTAIRS_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<SwvParameters, &JobNames::SWV_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<WaveParameters, &JobNames::WAVE_JOB_NAME>>(this);
    registerBuilderInFactory<DcMeasurementJob<WaveFileParameters, &JobNames::WAVE_FILE_JOB_NAME>>(this);
    registerBuilderInFactory<BeepJob>(this);
    registerBuilderInFactory<GetAdcStateJob>(this);
    registerBuilderInFactory<GetPotentiostatStateJob>(this);
    registerBuilderInFactory<MeasureIntegralJob>(this);
    registerBuilderInFactory<SetActiveCurrentRangesJob>(this);
    registerBuilderInFactory<SetVoltageRangeJob>(this);
    registerBuilderInFactory<SetActiveGainsJob>(this);
    registerBuilderInFactory<SetBiasJob>(this);
    registerBuilderInFactory<SetCableOptionsJob>(this);
    registerBuilderInFactory<SetFirmwareUpdateJob>(this);
    registerBuilderInFactory<SetHardwarePropertyJob>(this);
    registerBuilderInFactory<SetHardwareSettingsJob>(this);
    registerBuilderInFactory<SetLedColorJob>(this);
    registerBuilderInFactory<SleepJob>(this);
    registerBuilderInFactory<SwitchOffJob>(this);
    registerBuilderInFactory<SwitchOnQuickJob>(this);
    registerBuilderInFactory<SwitchOnJob>(this);
}
