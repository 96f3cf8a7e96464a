// The page's script: the modules do nothing when imported; this entry sets them up in order
// (the canvas before the input that listens to it) and starts the game.
//   bridge.js   the game's module: loading it, calls into it, the end of the session
//   game.js     the handlers the program calls, and the start
//   canvas.js   the canvases: frames, their place on the page, game points
//   layout.js   where the picture goes on a screen of any size
//   art.js      the larger pictures a screen of more pixels needs
//   input.js    pointer and keys as window messages
//   keys.js     the virtual-key code of a key
//   menu.js     the menu bar, its radio marks and greyed items
//   dialogs.js  the About, Play Puzzle Code and Statistics boxes, the fatal message, the
//               closing screen
//   extras.js   the live region, the canvas's description, the clipboard, sharing, the
//               puzzle's code in the title and address, links with a code, notices
//   storage.js  the settings in local storage; the records and the game there and in the
//               store whose writes outlast a browser killed, and the kept game's lock
//   records.js  the notice while records cannot be stored, their export and import, other
//               tabs' records, keeping the storage
//   sound.js    the beep
//   constants.js, written at build time: numbers shared with the program
// The build bundles them into the page's one kestrane.js.

import {init as initCanvas} from "./canvas.js";
import {init as initDialogs} from "./dialogs.js";
import {init as initExtras} from "./extras.js";
import {start} from "./game.js";
import {init as initInput} from "./input.js";
import {init as initMenu} from "./menu.js";
import {init as initRecords} from "./records.js";

initCanvas();
initMenu();
initDialogs();
initExtras();
initRecords();
initInput();
start();
