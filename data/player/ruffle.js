// The page's way into the Flash player for the web: loads Ruffle (beside
// this file as ruffle-player.js) and sets it up for our animations.
// Every movie starts at once, so that a controller shows its buttons and
// lamps before any click, with nothing of the player's over it. Browsers hold
// sound back until the visitor acts, and the player holds a stream's frames
// back with its sound; the visitor's first click or key press anywhere on the
// page lets the sound out, from its start.
(() => {
  const loader = document.currentScript;
  window.RufflePlayer = window.RufflePlayer ?? {};
  window.RufflePlayer.config = {
    autoplay: 'on',
    unmuteOverlay: 'hidden',
    splashScreen: false,
    // A plain canvas draws our few shapes at once on any machine; the
    // graphics card's renderers take longer to start, and without a card the
    // player opens a note about it over the movie.
    preferredRenderer: 'canvas',
    ...window.RufflePlayer.config,
  };

  // The player makes its audio contexts itself and resumes them only when
  // its own area is clicked.
  const contexts = [];
  const PageAudioContext = window.AudioContext;
  window.AudioContext = class extends PageAudioContext {
    constructor(...options) {
      super(...options);
      contexts.push(this);
    }
  };
  const letSoundOut = () => {
    for (const context of contexts) context.resume();
  };
  for (const type of ['pointerdown', 'keydown']) document.addEventListener(type, letSoundOut, true);

  const ruffle = document.createElement('script');
  ruffle.src = new URL('ruffle-player.js', loader.src).href;
  loader.after(ruffle);
})();
