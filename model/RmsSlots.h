// The value slots of an entity record in declaration order: slot i is the i-th text a record
// holds. 286 slots are shown by one catalogue column each; fourteen are filled from the message
// but shown by no column, and are named by the wire field that fills them.
#pragma once

#include <cstdint>
#include <iterator>

constexpr int kRmsSlotCount = 300;

namespace rmsslot {

struct sKey {
  int16_t nColumn;      // the catalogue column showing the slot, or -1
  uint16_t nWireField;  // for a slot no column shows: the field filling it
};

constexpr sKey Col(int nColumn) {
  return {static_cast<int16_t>(nColumn), 0};
}
constexpr sKey Wire(uint32_t nWireField) {
  return {-1, static_cast<uint16_t>(nWireField)};
}

inline constexpr sKey kOrder[] = {
    Col(96), Col(202), Wire(64056), Wire(10100), Col(0), Col(201), Wire(63002),
    Wire(10101), Wire(64030), Col(7), Col(1), Col(69), Col(22), Col(41), Col(42),
    Col(43), Col(44), Col(45), Col(46), Col(47), Col(48), Col(15), Col(39), Col(16),
    Col(11), Col(12), Col(13), Col(14), Col(38), Col(61), Col(62), Col(63), Col(64),
    Col(49), Col(50), Col(51), Col(52), Col(2), Col(3), Col(4), Col(5), Col(6),
    Col(8), Col(9), Col(10), Col(40), Col(17), Wire(64210), Wire(64211), Col(18),
    Col(138), Col(179), Col(180), Col(20), Col(21), Col(23), Col(24), Col(25),
    Col(26), Col(27), Col(29), Col(28), Col(30), Col(31), Col(32), Col(33), Col(34),
    Col(35), Col(36), Col(37), Col(74), Col(114), Col(157), Col(158), Col(159),
    Col(160), Col(161), Col(162), Col(163), Col(57), Col(58), Col(59), Col(60),
    Col(53), Col(54), Col(55), Col(56), Col(65), Col(66), Col(67), Col(68), Col(72),
    Col(73), Col(187), Col(188), Col(75), Col(76), Col(77), Col(78), Col(79),
    Col(80), Col(70), Col(71), Col(100), Col(81), Col(82), Col(184), Col(185),
    Col(83), Col(84), Col(85), Col(86), Col(87), Col(88), Col(89), Col(90), Col(91),
    Col(92), Col(93), Col(94), Col(95), Col(97), Col(98), Col(99), Col(131),
    Col(101), Col(102), Col(103), Col(104), Col(105), Col(115), Col(106), Col(107),
    Col(108), Col(109), Col(110), Col(111), Col(118), Col(117), Col(112), Col(113),
    Col(116), Col(119), Col(120), Col(121), Col(122), Col(123), Col(124), Col(125),
    Col(164), Col(165), Col(126), Col(127), Col(128), Col(129), Col(130), Col(132),
    // bGroupwiseValidation is declared here.
    Col(133), Col(135), Col(134), Col(136), Col(137), Col(139), Col(140), Col(141),
    Col(142), Col(143), Col(144), Col(145), Col(146), Col(147), Col(148), Col(149),
    Col(150), Col(151), Col(203), Col(152), Col(155), Col(156), Col(153), Col(154),
    Col(166), Col(167), Col(168), Col(169), Col(170), Col(171), Col(172), Col(259),
    Col(260), Col(173), Col(174), Col(175), Col(257), Col(258), Col(176), Col(263),
    Col(264), Col(177), Col(268), Col(269), Col(178), Col(261), Col(262), Col(181),
    Col(182), Col(183), Col(189), Col(190), Col(193), Col(194), Col(191), Col(192),
    Col(195), Col(196), Col(197), Col(198), Col(199), Col(200), Wire(41000),
    Col(204), Col(205), Col(206), Col(208), Col(209), Col(210), Col(211), Col(212),
    Col(213), Col(214), Col(215), Col(216), Col(217), Col(218), Col(219), Col(220),
    Wire(41139), Wire(41140), Wire(41141), Wire(41142), Wire(41143), Wire(41144),
    Col(221), Col(222), Col(223), Col(224), Col(225), Col(226), Col(227), Col(228),
    Col(229), Col(230), Col(231), Col(232), Col(234), Col(233), Col(236), Col(235),
    Col(237), Col(238), Col(239), Col(240), Col(241), Col(243), Col(242), Col(244),
    Col(245), Col(246), Col(247), Col(248), Col(249), Col(250), Col(251), Col(252),
    Col(253), Col(254), Col(255), Col(256), Col(265), Col(266), Col(267), Col(270),
    Col(271), Col(272), Col(273), Col(274), Col(275), Col(276), Col(277), Col(278),
    Col(279), Col(280), Col(281), Col(282), Col(283), Col(284), Col(285), Col(286),
    Col(287), Col(288),
};
static_assert(std::size(kOrder) == kRmsSlotCount);

}  // namespace rmsslot

// The slot shown by a catalogue column, or -1 (columns 19, 186, 207 and indexes outside the
// catalogue have none).
constexpr int FindColumnSlot(int nColumn) {
  for (int i = 0; i < kRmsSlotCount; ++i) {
    if (rmsslot::kOrder[i].nColumn == nColumn && nColumn >= 0) {
      return i;
    }
  }
  return -1;
}

// The slot that no column shows and that the wire field fills, or -1.
constexpr int FindFieldSlot(uint32_t nWireField) {
  for (int i = 0; i < kRmsSlotCount; ++i) {
    if (rmsslot::kOrder[i].nColumn < 0 && rmsslot::kOrder[i].nWireField == nWireField) {
      return i;
    }
  }
  return -1;
}
