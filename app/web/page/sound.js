// The beep: a short tone. The audio thread runs only while it sounds.

let audio = null;

export function beep() {
    if (typeof AudioContext !== "function") {
        return;
    }
    try {
        audio = audio || new AudioContext();
        // A page that may not play sound yet plays on without it.
        audio.resume().catch(() => {});
        const start = audio.currentTime;
        const tone = audio.createOscillator();
        const volume = audio.createGain();
        tone.type = "sine";
        tone.frequency.value = 880;
        volume.gain.setValueAtTime(0.0001, start);
        volume.gain.exponentialRampToValueAtTime(0.2, start + 0.01);
        volume.gain.exponentialRampToValueAtTime(0.0001, start + 0.18);
        tone.connect(volume).connect(audio.destination);
        tone.onended = () => audio.suspend().catch(() => {});
        tone.start(start);
        tone.stop(start + 0.2);
    } catch {
        // The beep is a courtesy; a page without sound plays on.
    }
}
