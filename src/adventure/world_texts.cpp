// The prose of the adventure. Every text is one paragraph, appended to the transcript as one
// line that the console wraps.

#include "adventure/world.h"

namespace kestrova {

namespace {

// Told both when the aliens open the door at the end of the south passage and as that room's
// own description.
const char* const kDeviceRoom =
    "The south passageway ends in a small room with a door on the far wall. The door stands wide "
    "open now, and in the middle of the floor sits a strange device, squat and round like a "
    "small barrel, humming to itself in a way you don't entirely trust. On top of it is a big, "
    "shiny, red button -- the kind of button that practically begs to be pressed -- with a line "
    "of small text written underneath. Behind you, four aliens hold their breath in perfect "
    "silver silence.";

} // namespace

std::vector<std::string> InitialSpecial() {
    return {
        // 0: the intro
        "\"Tobrik, are you okay?\" The darkness begins to fade, and a ring of blurry faces swims "
        "slowly into focus above you. You're flat on your back on a cold metal table in the "
        "middle of a circular room, and four tall, silver, very-much-not-from-around-here aliens "
        "are peering down at you like you're the last slice of pizza at a launch party. Your head "
        "feels like somebody used it to beta-test a mallet. Bits of it come back: the flash, the "
        "bang, the long ride up the tractor beam. Right. Spaceship. Aliens. Just another day at "
        "the office for the hardest-working mascot in magazine publishing. Perhaps a good LOOK "
        "around is in order -- or a friendly TALK with your new fan club.",
        // 1: state 0, talk to the aliens
        "\"You were so brave, Tobrik! Thank you for saving us!\" The tallest alien clasps its "
        "long silver fingers together and the others nod so hard their antennae wobble. Then the "
        "bad news pours out: a rogue asteroid smashed clean through the navigation array, the "
        "ship can't steer, and right now it is drifting straight toward a black hole. Nobody "
        "seems to have a plan. Instead, all four of them fall quiet and look at you "
        "expectantly. You look behind you. Nope, they definitely mean you. Nobody ever reads the "
        "small print on a hero contract.",
        // 2: state 0, east
        "You hop off the table, but as you start to head down the hall a long silver arm snakes "
        "out and scoops you up in mid-bounce. \"Not yet, little hero,\" coos the alien, and it "
        "plops you back on the table like a very small, very round, very embarrassed pet. So "
        "much for the dramatic exit.",
        // 3: state 0, hop on the lever
        "You hop off the table and fly through the air. Magnificent hang time -- ten out of ten "
        "from the judges -- right up until you land smack on top of a big lever by the south "
        "doorway. It drops with a heavy CLUNK. The plaque beside it, you now notice, says "
        "Emergency Airlock Release. The thick door next to it shudders and starts to grind open, "
        "and the air in the room begins to rush out through the gap with an enormous, very "
        "unfriendly HISSSSS. Oops.",
        // 4: state 0, south
        "You hop off the table heading south, but bounce off the hard metal door. BOINNNG! The "
        "whole doorway rings like a dinner gong, and so do your ears. While you are still busy "
        "counting the stars, one of the aliens picks you up, dusts you off with a sigh and sets "
        "you gently back down on the table.",
        // 5: state 0, west
        "\"Oh, no you don't!\" shouts one of the aliens as you wind up for a mighty hop toward "
        "the translator consoles to the west. It snatches you out of the air before you've even "
        "left the table. \"The last time you touched those, the translator told our captain's "
        "mother that she smelled of old asteroid.\" It puts you back exactly where you started "
        "and gives you a long, pointed look.",
        // 6: state 0, north
        "You hop off the table to the north, but while in mid-air one of the aliens steps "
        "smartly in front of the flat north wall, arms folded, and you bounce off its tummy "
        "straight back onto the table. It starts whistling and studying the ceiling. Nothing to "
        "see here, folks -- just a perfectly ordinary blank wall that definitely, absolutely, "
        "positively does not have a secret door in it.",
        // 7: state 1, west, north or south
        "Your vain attempt to do the wrong thing has cost you your life. The roaring wind from "
        "the open airlock lifts you clean off the floor, spins you round twice for the cameras "
        "and sucks you out through the door into the cold, silent dark. As the ship shrinks to a "
        "twinkle behind you, you reflect that this would at least make a lovely picture for the "
        "back page.",
        // 8: state 1, east
        "You start hopping down the hall, and the four aliens follow you. They stumble along "
        "behind, squawking and clutching at each other as the gale from the airlock tugs at "
        "their robes. "
        "The dark hallway runs a fair way before it opens onto a junction. Passages lead off to "
        "the north and to the south, and set into the wall right in front of you is a large "
        "knob covered in alien squiggles. Behind you, the howl of escaping air isn't getting any "
        "quieter.",
        // 9: state 2, north
        "You start to hop to the north, but your progress is halted by a hurricane blowing the "
        "other way. With the airlock still wide open, the air of the whole ship is stampeding "
        "for the exit, and it takes you with it: backwards down the passage, through the "
        "circular room, past the table, and out through the airlock into the endless black. You "
        "wave goodbye to the aliens. They are too busy screaming to wave back.",
        // 10: state 2, south
        "You start to hop to the south, but your progress is halted by a hurricane blowing the "
        "other way. The escaping air catches you mid-hop, drags you all the way back up the "
        "hallway, round the table and straight out of the open airlock. Space, it turns out, is "
        "big, cold and completely lacking in snack machines.",
        // 11: state 2, talk to or hop on the aliens
        "You hop on one of the alien's head -- BOING -- and it snaps out of its panic with a "
        "startled squeak. It takes one look at the knob, lunges for it and gives it a frantic "
        "twist. Far away, the airlock door slams shut with a thunderclap, the wind drops dead "
        "and everybody's ears pop at once. Then all four aliens turn and glare at you. \"Why did "
        "you almost get us killed?\" they demand in chorus. You decide this is not the time to "
        "mention that you were only trying to help.",
        // 12: state 3, south
        "You hop down to the south, and the passage ends in a small room. The door on its far "
        "wall is firmly, stubbornly, sulkily closed, and no amount of glaring makes it budge. "
        "Having no hands, you can't even knock politely. With a sigh you turn round and hop "
        "back to the junction.",
        // 13: state 3, north
        "\"Well, fellas, what do you think we should do?\" you ask the aliens. The whole gang "
        "has just tumbled up the north passage into a room full of blinking lights. They huddle "
        "together and confer in clicks and whistles, then the tallest one points a long finger "
        "back the way you came: there is a strange device in the room at the end of the south "
        "passage, and maybe, just maybe, it could help. It presses its palm against a panel, "
        "and somewhere down the south passage a door unlocks with a satisfying CLACK.",
        // 14: state 4, talk to the aliens
        kDeviceRoom,
        // 15: state 4, south
        "With a start, you realize the text underneath the button is written in your own native "
        "language -- which is either a lucky coincidence or somebody up there has been reading "
        "ahead in the script. You hop down the south passage to take a closer look at the "
        "strange device, squint at the label and read: \"DEUS EX MACHINA DEVICE -- USE ONLY IN "
        "CASE OF HEADING STRAIGHT TOWARD BLACK HOLE!\" Well, that seems to cover it.",
        // 16: state 5, read the device
        "Your pathetic attempt at doing the right thing was actually the wrong thing. While you "
        "stand there reading the small print for the third time, the ship slides silently over "
        "the edge of the black hole. The gravity stretches everything -- the walls, the aliens, "
        "you -- into long thin spaghetti, and then tears the ship apart rivet by rivet. Next "
        "time, maybe less reading and more hopping.",
        // 17: state 5, hop on the button (and any other line there)
        "You hop high in the air, and come down on the red button with every ounce of your "
        "weight. It clicks. The device whines, the engines scream, the lights turn a deep and "
        "worrying purple, and instead of turning away the ship hurtles headlong into the black "
        "hole. Stars smear into lines, the aliens' cheers stretch into one long note, and the "
        "universe folds up like a cheap deckchair. The last thing you think, before you lose "
        "consciousness, is \"What next?\"",
    };
}

std::vector<std::string> InitialRoomdesc() {
    return {
        // 0: the room with the table
        "You are in a circular room seemingly built of metal. In the middle stands the cold, "
        "hard table you woke up on. The north wall is completely flat and blank; against the "
        "west wall two consoles flicker with alien text; to the south is a doorway with a big "
        "lever beside it and a small plaque above the lever; and to the east a dark hallway "
        "leads off into the gloom. Four anxious aliens shuffle their feet around you, trying "
        "very hard to look like they aren't watching your every move.",
        // 1: the airlock opening; the whole entry, left hanging on purpose
        "The door is beginning to open, and you start to feel yourself getting sucked toward "
        "the opening",
        // 2: the junction, airlock open
        "You're in the middle of an intersection. Passages lead off to the north and to the "
        "south, both of them dim and humming. To the west, back down the hallway, is the "
        "brightly lit room with the table, and the roar of escaping air comes from there. "
        "Fixed to the wall is a big knob covered in curly alien writing that you can't read.",
        // 3: the junction, airlock shut
        "You're in the middle of an intersection. Passages lead off to the north and to the "
        "south. To the west, where the hallway used to be, a big metal door has slammed shut, "
        "and it looks like it intends to stay that way. The knob with the alien writing sits on "
        "the wall, smugly turned all the way round.",
        // 4: the control room
        "You are in what must be the UFO control room. Lights blink on every panel, and a huge "
        "viewscreen fills the far wall with a swirling black hole that gets bigger every time "
        "you look at it. Four frantic aliens dash from panel to panel, pressing buttons at "
        "random and wailing in harmony.",
        // 5: the device room
        kDeviceRoom,
    };
}

std::vector<std::string> InitialRoomproperty() {
    return {
        "xxx,1",
        "xxx,2",
        "xxx,3",
        "xxx,4",
        "xxx,5",
        "xxx,6",
        "xxx,7",
        "s,1,south,1,w,3,hole,3,wall,3,west,3",
        "n,0,e,2,train,2,north,0,door,0",
        "s,1,south,1,nw,3,northwest,3,cubicles,3",
        "door,2,se,2,southeast,2,south,2,desk,0",
    };
}

} // namespace kestrova
