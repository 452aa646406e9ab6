// The page's script is bundled from here: what this module exports is LabPage, the calls that
// lab_library.js and lab_module.js make of the page, each from the service that answers it.
import { start } from './start.js';

export {
  activate,
  clear,
  closeWindow,
  displayHeight,
  displayWidth,
  mainExists,
  openMain,
  openWindow,
  setBackground,
  setCaption,
  setOutput,
} from './windows.js';
export {
  clearClip,
  drawBox,
  drawCircle,
  drawLine,
  fillBox,
  setClip,
  setColour,
  setLineWidth,
} from './drawing.js';
export {
  drawText,
  lineHeight,
  printText,
  setFontName,
  setFontSize,
  setTextPosition,
  setTransparent,
  textWidth,
} from './text.js';
export { captureImage, freeImage, loadPicture, putImage, putPictureStretched } from './images.js';
export { readKey, readPointKey } from './keys.js';
export { announce, describeDrawing, showTable } from './access.js';
export { mouseButtons, mouseX, mouseY, setCursor, showPoint } from './pointer.js';
export { installMenu, takeMenuChoice } from './menu_bar.js';
export { boxCount, showBox } from './boxes.js';
export { beginLine, endLine, lineState, lineText, resumeLine } from './line_input.js';
export { printerEndJob, printerEndPage, printerFontSize, printerWrite } from './printing.js';
export { endProgram } from './end.js';

export { isHighContrast } from './access.js';
export { instantiateProgram, prepare, sleep } from './start.js';

start();
