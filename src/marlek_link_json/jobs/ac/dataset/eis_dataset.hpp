#pragma once

#include "marlek_json_common/json_common/protocol/columnheader.hpp"
#include "marlek_json_common/json_common/protocol/impedancedataheader.hpp"
#include "marlek_json_common/json_common/protocol/livedataheadereis.hpp"
#include "marlek_json_common/json_common/protocol/pathdataheader.hpp"
#include "marlek_json_common/json_common/protocol/potentiostatdataheader.hpp"
#include "marlek_link_json/jobs/ac/live_data/livedataroweis.hpp"
#include "marlek_link_json/jobs/common/jobinfo.hpp"
#include "marlek_link_json/jobs/dataset/dataset.hpp"
#include "marlek_link_json/jobs/dataset/dataset_info.hpp"

#include <complex>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Result of an impedance measurement. The raw values are held per object and
// column ([impedance][column][row], the same for paths, asynchronous paths and
// potentiostats, [meta column][row] for the meta values); the waves of the
// synchronous paths are stored once per distinct wave ([path][wave][sample])
// and rows name their wave through the "wave_id" meta column.
//
// On top of the tracks the dataset keeps read-only views per path,
// potentiostat and impedance that refer into its own tracks. Every operation
// that rebuilds the views (construction, copy, move, createHelperObjects)
// invalidates views obtained earlier. Queries never fail: what does not exist
// is one of the sentinels (recognisable by address) or -1 for index lookups.
class EisDataset : public DataSet {
public:
    using TrackRef = std::reference_wrapper<const std::vector<double>>;
    // Column dimension to that column's track.
    using TrackMap = std::map<std::string, TrackRef>;
    // (numerator name, denominator name).
    using ImpedanceKey = std::pair<std::string, std::string>;

    class ImpedanceData {
    public:
        ImpedanceData(const std::string& numeratorDimension, const std::string& denominatorDimension,
                      TrackMap&& tracks, const std::vector<double>& frequencies, const std::string& impedanceName);

        const std::vector<double>& getTrack(const std::string& name) const;
        // One value per row from the "|impedance|" and "phase" (radians)
        // tracks; empty unless both exist with the same length.
        std::vector<std::complex<double>> getCalculatedComplexImpedanceTrack() const;
        // Frequency to complex impedance; a repeated frequency keeps the later
        // row. Empty unless the complex track and the frequencies match in
        // length.
        std::map<double, std::complex<double>> getCalculatedSpectra() const;

        const std::string& getNumeratorDimension() const { return numeratorDimension; }
        const std::string& getDenominatorDimension() const { return denominatorDimension; }
        const std::string& getImpedanceName() const { return impedanceName; }
        const TrackMap& getTracks() const { return tracks; }
        const std::vector<double>& getFrequencies() const { return frequencies.get(); }

    private:
        std::string numeratorDimension;
        std::string denominatorDimension;
        std::string impedanceName;
        TrackMap tracks;
        TrackRef frequencies;
    };

    class PathData {
    public:
        PathData(const std::string& dimension, TrackMap&& tracks, const std::vector<std::vector<double>>& waves,
                 std::map<ImpedanceKey, ImpedanceData>&& impedances);

        const std::vector<double>& getTrack(const std::string& name) const;
        const std::vector<double>& getDcTrack() const;
        // The first impedance whose numerator or denominator is `dimension`.
        const ImpedanceData& getImpedanceData(const std::string& dimension) const;
        const ImpedanceData& getImpedanceData() const;

        const std::string& getDimension() const { return dimension; }
        const TrackMap& getTracks() const { return tracks; }
        const std::vector<std::vector<double>>& getWaves() const { return waves.get(); }
        const std::map<ImpedanceKey, ImpedanceData>& getImpedancesData() const { return impedances; }

    private:
        std::string dimension;
        TrackMap tracks;
        std::reference_wrapper<const std::vector<std::vector<double>>> waves;
        // The impedances that have this path as numerator or denominator.
        std::map<ImpedanceKey, ImpedanceData> impedances;
    };

    class PotentiostatData {
    public:
        PotentiostatData(const std::string& identifier, TrackMap&& tracks);

        const std::vector<double>& getTrack(const std::string& name) const;

        const std::string& getIdentifier() const { return identifier; }
        const TrackMap& getTracks() const { return tracks; }

    private:
        std::string identifier;
        TrackMap tracks;
    };

    static const std::vector<double> EMPTY_TRACK;
    static const std::vector<std::complex<double>> EMPTY_COMPLEX_TRACK;
    static const std::map<double, std::complex<double>> EMPTY_SPECTRA;
    static const std::vector<std::vector<double>> EMPTY_TRACKWAVE;
    static const PathData INVALID_PATH;
    static const ImpedanceData INVALID_IMPEDANCE_DATA;
    static const PotentiostatData INVALID_POTENTIOSTAT;

    EisDataset();
    explicit EisDataset(JobInfo&& info);
    // Takes every container over as it is; no shape check is made. Adds the
    // "wave_id" and "wave_size" meta columns when the waves come without them.
    EisDataset(LiveDataHeaderEis&& header, std::vector<std::vector<std::vector<double>>>&& impedances,
               std::vector<std::vector<std::vector<double>>>&& paths,
               std::vector<std::vector<std::vector<double>>>&& pathWaves,
               std::vector<std::vector<std::vector<double>>>&& asyncPaths,
               std::vector<std::vector<std::vector<double>>>&& potentiostats, std::vector<std::vector<double>>&& meta,
               JobInfo&& jobInfo);

    // Copies and moves build their own views; a moved-from dataset is empty.
    EisDataset(const EisDataset& other);
    EisDataset(EisDataset&& other);
    EisDataset& operator=(const EisDataset& other);
    EisDataset& operator=(EisDataset&& other);
    ~EisDataset() override = default;

    std::int64_t findIndexOfColumInMeta(const std::string& name) const;
    std::int64_t findIndexOfColumInImpedance(const std::string& name) const;
    std::int64_t findIndexOfColumInPath(const std::string& name) const;
    std::int64_t findIndexOfColumInPotentiostat(const std::string& name) const;

    // Gives waves without bookkeeping one wave per row: appends "wave_id" and
    // "wave_size" meta columns when neither exists, the meta tracks match the
    // meta headers and some path holds waves.
    void synthesizeWaveColumns();
    // Discards every view and builds them anew over this dataset's tracks.
    void createHelperObjects();

    const LiveDataHeaderEis& getHeader() const;
    const std::vector<ColumnHeader>& getMetaDataHeader() const;
    const std::vector<ImpedanceDataHeader>& getImpedancesHeaders() const;
    const std::vector<PathDataHeader>& getPathsDataHeaders() const;
    const std::vector<PathDataHeader>& getAsyncPathsDataHeaders() const;
    const std::vector<PotentiostatDataHeader>& getPotentiostatsDataHeaders() const;

    std::uint64_t getRowCount() const override;
    DatasetInfo getInfo() const override;

    const std::vector<std::vector<std::vector<double>>>& getImpedances() const;
    const std::vector<double>& getImpedancesMetaData(std::size_t impedance, std::size_t column) const;
    const std::vector<double>& getPathMetaData(std::size_t path, std::size_t column) const;
    const std::vector<double>& getAsyncPathData(std::size_t asyncPath, std::size_t column) const;
    const std::vector<double>& getPotentiostatsMetaData(std::size_t potentiostat, std::size_t column) const;
    const std::vector<double>& getMetaColumn(std::size_t column) const;
    const std::vector<double>& getFrequencies() const;
    const std::vector<double>& getPeriods() const;
    const std::vector<double>& getTimes() const;
    const std::vector<double>& getWaveIds() const;
    const std::vector<double>& getWaveSizes() const;
    const std::vector<std::vector<double>>& getPathWaves(std::size_t path) const;
    const std::vector<double>& getPathDcValues(std::size_t path) const;
    // Impedance `impedance` as complex numbers from its magnitude and phase
    // (radians); as long as the shorter of the two tracks.
    std::vector<std::complex<double>> getImpedances(std::size_t impedance) const;

    // The wave index named by the row's "wave_id" (rounded, halves away from
    // zero); the row itself when there is no such value; -1 for a value that
    // is not a finite number in the signed 64-bit range.
    std::int64_t getWaveIdForRow(std::size_t row) const;
    const std::vector<double>& getWaveForRow(std::size_t path, std::size_t row) const;
    const std::vector<double>& getWaveForRow(const std::string& pathName, std::size_t row) const;

    static std::int64_t indexOf(const std::vector<ColumnHeader>& columns, const ColumnHeader& column);
    static std::int64_t indexOfDimension(const std::vector<ColumnHeader>& columns, const std::string& name);
    std::int64_t indexOfColumnHeaderInHeaderVector(const ColumnHeader& column,
                                                   const std::vector<ColumnHeader>& columns) const;
    // First header with the same URI and the same columns.
    std::int64_t indexOfDataHeaderWithUriInHeaderVector(const PathDataHeader& pathHeader,
                                                        const std::vector<PathDataHeader>& pathHeaders) const;
    // First impedance with the same numerator and denominator.
    std::int64_t indexOfImpedance(const ImpedanceDataHeader& impedanceHeader) const;
    // First (asynchronous) path whose dc column has this dimension; paths
    // without any column are passed over.
    std::int64_t indexOfPathDimension(const std::string& name) const;
    std::int64_t indexOfAsyncPathDimension(const std::string& name) const;

    const std::map<std::string, PathData>& getPathsData() const;
    std::vector<std::string> getPathsDimensions() const;
    const PathData& getPathData(const std::string& name) const;
    const std::map<std::string, PotentiostatData>& getPotentiostatsData() const;
    std::vector<std::string> getPotentiostatsIdentifiers() const;
    const PotentiostatData& getPotentiostatData() const;
    const PotentiostatData& getPotentiostatData(const std::string& identifier) const;
    const std::map<ImpedanceKey, ImpedanceData>& getImpedancesData() const;
    std::vector<ImpedanceKey> getImpedancesDimensions() const;
    std::vector<std::string> getImpedancesNames() const;
    const ImpedanceData& getImpedanceData() const;
    const ImpedanceData& getImpedanceData(const std::string& numerator, const std::string& denominator) const;
    // The first impedance whose numerator or denominator is `dimension`.
    const ImpedanceData& getImpedanceData(const std::string& dimension) const;
    const ImpedanceData& getImpedanceDataByName(const std::string& name) const;

    // Appends one live-data row to every track and stores the row's waves
    // unless its device wave id was seen before; the row's "wave_id" becomes
    // the index of its stored wave (-1 for none). Rows of any shape are
    // taken: missing values leave tracks short, extra values add tracks.
    void appendDataRow(const LiveDataRowEis& row);
    // Appends the rows of `other` behind this dataset's rows, continuing the
    // time axis from this dataset's last time plus `timeOffset` and moving
    // the appended wave ids behind the waves stored here. A dataset without
    // rows becomes a copy of `other` instead. False, with nothing changed,
    // for an empty `other`, for another header while this dataset has rows,
    // for data that do not have the shape of their header, and when a column
    // or object of this dataset has no counterpart in `other` ("header
    // mismatch"). `other` may be this dataset.
    bool append(const EisDataset& other, double timeOffset);
    // Whether the tracks cover the header and every track holds the row
    // count.
    bool hasConsistentShape() const;

    // Writes the "dataset" element of type "AC": column classes, columns,
    // sections, the data table and one wave table per path.
    void acceptSerializer(MXml::XmlSerializer& serializer) const override;
    // Rows without the meta columns frequency, periods and time, column
    // group keys the reader cannot tell apart, or more waves than rows.
    std::optional<std::string> readBackProblem() const override;
    // Reads a "dataset" element of type "AC" in any format version of the
    // context; null, with the reason in the context, on failure.
    static std::shared_ptr<EisDataset> buildFromXmlElement(tinyxml2::XMLElement* element,
                                                           MXml::DeserializationContext& context);

private:
    template <typename Other>
    void takeStateFrom(Other&& other);
    // What a moved-from dataset is left as: no header, no data, no views.
    void resetToEmpty();
    void computeColumnIndices();
    const std::vector<double>& metaTrackAt(std::int64_t index) const;

    LiveDataHeaderEis header;
    std::uint64_t rowCount = 0;
    std::vector<std::vector<std::vector<double>>> impedances;
    std::vector<std::vector<std::vector<double>>> paths;
    std::vector<std::vector<std::vector<double>>> pathWaves;
    std::vector<std::vector<std::vector<double>>> asyncPaths;
    std::vector<std::vector<std::vector<double>>> potentiostats;
    std::vector<std::vector<double>> meta;
    // Device wave id to wave index, kept while rows are appended one by one.
    std::map<std::int64_t, std::int64_t> waveIndexByWaveId;

    std::int64_t indexFrequency = -1;
    std::int64_t indexPeriods = -1;
    std::int64_t indexTime = -1;
    std::int64_t indexWaveId = -1;
    std::int64_t indexWaveSize = -1;
    std::int64_t indexImpedanceAbsolute = -1;
    std::int64_t indexPhase = -1;
    std::int64_t indexImpedanceError = -1;
    std::int64_t indexPhaseError = -1;
    std::int64_t indexImpedanceDrift = -1;
    std::int64_t indexPhaseDrift = -1;
    std::int64_t indexGain = -1;
    std::int64_t indexPathFilter = -1;
    std::int64_t indexThd = -1;
    std::int64_t indexPathDrift = -1;
    // The dc value of a path is always its first column.
    std::int64_t indexPathDc = 0;
    std::int64_t indexDc = -1;
    std::int64_t indexShunt = -1;
    std::int64_t indexBandwith = -1;
    std::int64_t indexPotentiostatFilter = -1;

    std::map<std::string, PathData> pathsData;
    std::map<std::string, PotentiostatData> potentiostatsData;
    std::map<ImpedanceKey, ImpedanceData> impedancesData;
};
