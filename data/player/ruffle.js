// The page's way into the Flash player for the web: loads Ruffle (beside
// this file as ruffle-player.js), and lets the visitor's first click or key
// press anywhere on the page start every player still waiting for one.
// Browsers hold sound back until the visitor acts, and a page whose sound
// plays unseen has no player on it to click.
(() => {
  const loader = document.currentScript;
  const ruffle = document.createElement('script');
  ruffle.src = new URL('ruffle-player.js', loader.src).href;
  loader.after(ruffle);

  const startWaitingPlayers = () => {
    for (const player of document.querySelectorAll('ruffle-object, ruffle-embed')) {
      if (!player.isPlaying) player.play();
    }
  };
  for (const type of ['pointerdown', 'keydown']) document.addEventListener(type, startWaitingPlayers, true);
})();
