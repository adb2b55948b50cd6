#include "sample_tables.h"

namespace quintabel::samples {

namespace {

using paradox::Date;
using paradox::Field;
using paradox::FieldType;
using paradox::Null;
using paradox::Time;
using paradox::Timestamp;
using paradox::Value;

// Sizes: an Alpha's size is its length; a Memo's is the part kept in the record plus 10 bytes
// of pointer; the other types take their usual size (0).
Field field(const char* name, FieldType type, int size = 0)
{
    return Field{name, type, size, 0};
}

Value text(const char* utf8)
{
    return std::string(utf8);
}

Value whole(std::int64_t number)
{
    return number;
}

SampleTable plants()
{
    SampleTable table;
    table.name = "PLANTS";
    table.fields = {
        field("Name", FieldType::Alpha, 30),       field("Latin", FieldType::Alpha, 40),
        field("Kind", FieldType::Alpha, 12),       field("HeightCm", FieldType::Short),
        field("SeedsPerPack", FieldType::Long),    field("PackPrice", FieldType::Money),
        field("Germination", FieldType::Number),   field("FirstSown", FieldType::Date),
        field("Perennial", FieldType::Logical),    field("Notes", FieldType::Memo, 20),
    };
    table.records = {
        {text("Sweet pea"), text("Lathyrus odoratus"), text("Climber"), whole(180), whole(25), 2.95, 0.85,
         Date{2021, 3, 14}, false, text("Sow in deep pots; pinch out the tips at 10 cm.")},
        {text("Jalapeño pepper"), text("Capsicum annuum"), text("Vegetable"), whole(75), whole(15), 3.40, 0.72,
         Date{2022, 2, 20}, false, text("Needs 25 °C to germinate: a warm windowsill.")},
        {text("Kümmel (caraway)"), text("Carum carvi"), text("Herb"), whole(60), whole(200), 1.85, 0.66,
         Date{2020, 4, 2}, false, Null{}},
        {text("Forget-me-not"), text("Myosotis sylvatica"), text("Flower"), whole(25), whole(300), 1.50, 0.9,
         Date{2019, 9, 1}, false, text("Self-seeds.")},
        {text("Lupin 'Gallery Blue'"), text("Lupinus polyphyllus"), text("Flower"), whole(60), whole(12), 3.75,
         0.6, Date{2021, 5, 10}, true,
         text("Soak the seeds overnight. Slugs love the young shoots – protect them.")},
        {text("Rhubarb"), text("Rheum × hybridum"), text("Vegetable"), whole(90), whole(10), 2.20, 0.55,
         Date{2018, 3, 30}, true,
         text("Do not pick in the first year.\r\n"
              "From the second year on, pull the stalks from April to June and leave the rest "
              "to feed the crown; a mulch of compost every autumn keeps it going for ten years "
              "or more.")},
        {text("Nasturtium"), text("Tropaeolum majus"), text("Flower"), whole(30), whole(20), 1.95, 0.8,
         Date{2022, 4, 25}, false, text("Edible flowers and leaves; the green seeds pickle like capers.")},
        {text("Æblemynte (apple mint)"), text("Mentha suaveolens"), text("Herb"), whole(50), Null{}, Null{},
         Null{}, Null{}, true, text("Grown from cuttings, in a sunken pot so it cannot spread.")},
    };
    return table;
}

SampleTable beds()
{
    SampleTable table;
    table.name = "BEDS";
    table.fields = {
        field("Bed", FieldType::Short),      field("Place", FieldType::Alpha, 20),
        field("AreaM2", FieldType::Number),  field("Soil", FieldType::Alpha, 10),
        field("DugOver", FieldType::Date),   field("Raised", FieldType::Logical),
        field("Plan", FieldType::Memo, 40),
    };
    table.records = {
        {whole(1), text("North wall"), 4.5, text("Clay"), Date{2023, 11, 4}, false,
         text("Climbers along the trellis: sweet peas, with nasturtiums at their feet.")},
        {whole(2), text("Greenhouse"), 6.0, text("Loam"), Date{2024, 2, 17}, true,
         text("Peppers; water every morning.")},
        {whole(3), text("Herb spiral"), 2.25, text("Sandy"), Date{2022, 10, 9}, true,
         text("Mint stays in its pot! Caraway on the dry top, parsley lower down where it is damp.")},
        {whole(4), text("Orchard corner"), 12.75, text("Loam"), Null{}, false, Null{}},
    };
    return table;
}

SampleTable harvest()
{
    SampleTable table;
    table.name = "HARVEST";
    table.fields = {
        field("Plant", FieldType::Alpha, 30),  field("Bed", FieldType::Short),
        field("Picked", FieldType::Timestamp), field("Weighed", FieldType::Time),
        field("Kilograms", FieldType::Number), field("Grade", FieldType::Alpha, 1),
        field("Organic", FieldType::Logical),
    };
    table.records = {
        {text("Rhubarb"), whole(4), Timestamp{{2024, 5, 12}, {7, 45, 0, 0}}, Time{8, 10, 0, 0}, 1.35, text("A"), true},
        {text("Jalapeño pepper"), whole(2), Timestamp{{2024, 8, 3}, {18, 20, 30, 0}}, Time{18, 40, 0, 0}, 0.42,
         text("B"), true},
        {text("Sweet pea"), whole(1), Timestamp{{2024, 7, 1}, {6, 55, 0, 0}}, Time{7, 5, 0, 0}, 0.08, text("A"), false},
        {text("Nasturtium"), whole(1), Timestamp{{2024, 7, 20}, {12, 0, 0, 0}}, Null{}, 0.05, text("C"), true},
        {text("Æblemynte (apple mint)"), whole(3), Timestamp{{2024, 6, 15}, {9, 30, 15, 0}}, Time{9, 31, 0, 0}, 0.12,
         text("A"), true},
    };
    return table;
}

} // namespace

std::vector<SampleTable> sampleTables()
{
    return {plants(), beds(), harvest()};
}

} // namespace quintabel::samples
