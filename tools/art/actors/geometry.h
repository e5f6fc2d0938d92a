// Frame sizes of the moving actors. The game places every actor by fixed
// screen rows and offsets, so these sizes are what makes feet meet the
// ground and effects sit over their owners.
#pragma once

namespace actors {

// Walkers and small shooters stand on the bottom edge of the landed
// saucer: screen row 410 is the first row below their feet.
constexpr int kGroundRow = 410;

// Walkers: drawn with their top at row 313.
constexpr int kWalkerTop = 313;
constexpr int kWalkerW = 80;
constexpr int kWalkerH = kGroundRow - kWalkerTop;  // 97
// The heart is drawn 34 pixels left of a left-facing male, or with its
// left edge 72 pixels in from a right-facing male's right edge, 50 rows
// above the walkers. This width centres it over a pair that met walking
// towards each other (about 45 pixels apart).
constexpr int kHeartW = 106;
constexpr int kHeartH = 60;

// Small shooters walk with their top at row 333. They are not shifted
// while they fire: every shot at a shooter is tested against its walking
// frame at its current y, so staying put keeps the firing picture and the
// spot a player can hit in the same place. The firing frames are therefore
// as high as the walking ones.
constexpr int kSmallTop = 333;
constexpr int kSmallW = 64;
constexpr int kSmallH = kGroundRow - kSmallTop;  // 77
constexpr int kSmallFireLift = 0;
constexpr int kSmallFireH = kSmallH + kSmallFireLift;
// The beam is drawn 117 pixels left of and 20 rows above the shooter.
constexpr int kSmallBeamDx = 117;
constexpr int kSmallBeamDy = 20;
constexpr int kSmallBeamW = kSmallW + 2 * kSmallBeamDx;
constexpr int kSmallBeamH = kSmallBeamDy + kSmallH + 8;
// Casings are drawn 90 rows below the firing shooter's top: for the
// small one that is 13 rows below its feet, on the ground in front of it.
constexpr int kCasingDy = 90;
constexpr int kSmallCasingH = 16;
// The explosion is drawn 10 rows below the shooter's top.
constexpr int kExplodeDy = 10;
constexpr int kSmallExplH = kSmallH + 6;

// Big shooters stand on row 590 and are lifted 20 rows while they fire,
// so their firing frames are 20 rows taller.
constexpr int kBigGround = 590;
constexpr int kBigW = 120;
constexpr int kBigH = 146;
constexpr int kBigFireLift = 20;
constexpr int kBigFireH = kBigH + kBigFireLift;
constexpr int kBigBeamDx = 170;
constexpr int kBigBeamDy = 24;
constexpr int kBigBeamW = kBigW + 2 * kBigBeamDx;
constexpr int kBigBeamH = kBigBeamDy + kBigH + 6;
constexpr int kBigCasingH = kBigFireH - kCasingDy;
constexpr int kBigExplH = kBigH;

// The killer rises from the bottom edge until its top is at
// 600 - kKillerH; firing and rising frames are the same size so the
// figure does not jump. Its explosion is drawn 50 pixels further left, so
// it is 100 wider; its casings start 120 rows below its top.
constexpr int kKillerW = 260;
constexpr int kKillerH = 300;
constexpr int kKillerExplW = kKillerW + 100;
constexpr int kKillerCasingDy = 120;
constexpr int kKillerCasingH = kKillerH - kKillerCasingDy;

// Flyers. The saucer fits the castle's roof (it sits on row 158 with the
// roof on row 186) and the squad's spacing of 115 pixels.
constexpr int kUfoW = 80;
constexpr int kUfoH = 28;
constexpr int kPlaneW = 112;
constexpr int kPlaneH = 48;
// A wreck is drawn 20 rows higher than the plane it was; the extra rows
// carry its smoke.
constexpr int kWreckRise = 20;
constexpr int kWreckH = kPlaneH + kWreckRise;
// The care package: parachute above row 77, crate from row 77 down (only
// the crate can be shot).
constexpr int kCareW = 72;
constexpr int kCrateTop = 77;
constexpr int kCareH = 116;

// Bubbles: drifting and bursting frames share one size.
constexpr int kBubbleW = 32;
constexpr int kBubbleH = 32;

}  // namespace actors
