#pragma once

// The choices of the report model. The file names each value by the word in its comment.

enum class BandKind {
    ReportTitle,   // "ReportTitle": first page, before the data
    PageHeader,    // "PageHeader": top of every page
    MasterData,    // "MasterData": once per row of its data set
    DetailData,    // "DetailData": once per row of its data set
    Child,         // "Child": printed only where a data band names it as its filler
    ReportSummary, // "ReportSummary": after the last data row
    PageFooter,    // "PageFooter": bottom of every page
};

enum class HAlign { Left, Center, Right };          // "left", "center", "right"
enum class VAlign { Top, Center, Bottom };          // "top", "center", "bottom"
enum class BandAlign { None, Left, Center, Right }; // "none", ...: placement across the band's width
enum class LineStyle { Solid, Dash, Dot };          // "solid", "dash", "dot"

// What an object does when its band grows: nothing ("none"), keep its distance to the band's
// bottom by growing ("stretch", e.g. the vertical rules of a row), or move down ("shift").
enum class BandGrowth { None, Stretch, Shift };
